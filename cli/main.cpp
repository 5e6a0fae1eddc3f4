#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

#include "console_stream.h"
#include "lister.h"
#include "lister_texts.h"
#include "system_names.h"

namespace {

int Run(int argc, CommandLineChar** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments = ListerArguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin(), arguments.end());
  ListerStream out(StandardStream::kOutput, std::cout, SystemConsole());
  ListerStream err(StandardStream::kError, std::cerr, SystemConsole());
  err.Stream() << std::unitbuf;
  return RunLister(args, SystemLanguage(), out.Stream(), err.Stream(), out.IsConsole());
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // Lines end in a line feed alone, on every platform and on both streams; a save read from
  // standard input comes as its bytes.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return Run(argc, argv);
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
