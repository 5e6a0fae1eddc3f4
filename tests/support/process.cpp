#include "process.h"

#include "temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

#ifdef _WIN32

// One argument as the C runtime's command-line parser reads it back: quoted, with backslashes
// doubled where they stand before a quotation mark.
std::wstring QuoteArgument(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE CreateOutputFile(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Run(const std::filesystem::path& program, const std::vector<std::string>& args,
        const std::filesystem::path& outPath, const std::filesystem::path& errPath,
        const std::filesystem::path& input) {
  std::wstring commandLine = QuoteArgument(program.wstring());
  for (const std::string& arg : args) {
    // The arguments are UTF-8: a path made of char8_t converts them as such.
    const std::filesystem::path wide(std::u8string(arg.begin(), arg.end()));
    commandLine += L" " + QuoteArgument(wide.wstring());
  }
  const HANDLE out = CreateOutputFile(outPath);
  const HANDLE err = CreateOutputFile(errPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE in = input.empty() ? INVALID_HANDLE_VALUE
                                  : CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                &inherit, OPEN_EXISTING, 0, nullptr);
  startup.hStdInput = input.empty() ? GetStdHandle(STD_INPUT_HANDLE) : in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const bool started = out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
                       CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  if (!started) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}

#else

int Run(const std::filesystem::path& program, const std::vector<std::string>& args,
        const std::filesystem::path& outPath, const std::filesystem::path& errPath,
        const std::filesystem::path& input) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!input.empty()) posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::string programName = program.string();
  std::vector<std::string> argStrings = args;
  std::vector<char*> argv{programName.data()};
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int wait = 0;
  if (waitpid(pid, &wait, 0) != pid || !WIFEXITED(wait)) return -1;
  return WEXITSTATUS(wait);
}

#endif

}  // namespace

ProcessOutcome RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                          const std::filesystem::path& scratch,
                          const std::filesystem::path& input) {
  const std::filesystem::path outPath = scratch / "stdout";
  const std::filesystem::path errPath = scratch / "stderr";
  ProcessOutcome outcome;
  outcome.status = Run(program, args, outPath, errPath, input);
  outcome.out = ReadFileBytes(outPath);
  outcome.err = ReadFileBytes(errPath);
  return outcome;
}
