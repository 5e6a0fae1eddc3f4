// Looks at and acts on the windows of wine's virtual desktop for the Windows end-to-end run, as
// another program would: there the program's windows are no X windows that xdotool could find.
// It is a windowed program, so wine gives it no console; each command writes its answer to OUT,
// whole once done, and the exit status says whether it found what it looked for.
//
//   window_probe OUT run PROGRAM          runs PROGRAM in the desktop; OUT: "exit STATUS"
//   window_probe OUT decoy                shows a window captioned "decoy" until it is closed
//   window_probe OUT rect CAPTION [ID]    the window's (or its control ID's) screen rectangle,
//                                         "x y width height"
//   window_probe OUT close-box CAPTION    the middle of the window's close box, "x y"
//   window_probe OUT activate CAPTION     brings the window to the front as another program would
//   window_probe OUT texts CAPTION        the texts of the window's controls, a line each
//   window_probe OUT column CAPTION N     the cells of column N of the window's list, a line each
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "support/native_windows.h"

namespace {

HWND FindTopLevel(const wchar_t* caption) {
  HWND window = FindWindowW(nullptr, caption);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

std::wstring Rect(const RECT& r) {
  wchar_t line[64];
  swprintf(line, 64, L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return line;
}

// The texts of column `column` of the list view `list` in another process: the item structure
// and the text buffer live in that process, where the list reads and writes them.
bool ColumnCells(HWND list, int column, std::wstring& out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return false;
  constexpr int kTextUnits = 512;
  const SIZE_T size = sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t);
  auto* remote =
      static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  bool ok = remote != nullptr;
  const int rows = ok ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
  for (int row = 0; ok && row < rows; ++row) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kTextUnits;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    ok = WriteProcessMemory(process, remote, &item, sizeof item, nullptr) != 0;
    if (!ok) break;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
    wchar_t text[kTextUnits] = {};
    ok = ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t),
                           nullptr) != 0;
    out += text;
    out += L'\n';
  }
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

// Writes `text` as UTF-8 to `path` through a temporary file, so that a reader sees it whole.
void WriteAnswer(const wchar_t* path, const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                      nullptr, nullptr);
  const std::wstring partial = std::wstring(path) + L".partial";
  if (FILE* file = _wfopen(partial.c_str(), L"wb"); file != nullptr) {
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fclose(file);
    MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING);
  }
}

int Run(int argc, wchar_t** argv, std::wstring& answer) {
  const std::wstring command = argv[2];
  if (command == L"run" && argc == 4) {
    std::wstring line = std::wstring(L"\"") + argv[3] + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      answer = L"cannot start\n";
      return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    answer = L"exit " + std::to_wstring(status) + L"\n";
    return 0;
  }
  if (command == L"decoy") {
    // Another program's window to activate, so that the program's window is inactive.
    HWND decoy = CreateWindowExW(0, L"STATIC", L"decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
    if (decoy == nullptr) return 1;
    SetForegroundWindow(decoy);
    MSG message;
    while (IsWindow(decoy) && GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    answer = L"closed\n";
    return 0;
  }
  if (argc < 4) return 2;
  HWND window = FindTopLevel(argv[3]);
  if (window == nullptr) {
    answer = L"none\n";
    return 1;
  }
  if (command == L"rect") {
    HWND target = argc == 5 ? GetDlgItem(window, _wtoi(argv[4])) : window;
    RECT r{};
    if (target == nullptr || !GetWindowRect(target, &r)) return 1;
    answer = Rect(r);
    return 0;
  }
  if (command == L"close-box") {
    // The window itself says where its close box is, along the middle of its caption.
    RECT r{};
    GetWindowRect(window, &r);
    const int y = r.top + GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = r.right - 1; x > r.left; --x) {
      if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE) continue;
      int left = x;
      while (left > r.left &&
             SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == HTCLOSE) {
        --left;
      }
      answer = std::to_wstring((left + x) / 2) + L" " + std::to_wstring(y) + L"\n";
      return 0;
    }
    return 1;
  }
  if (command == L"activate") {
    answer = SetForegroundWindow(window) ? L"ok\n" : L"refused\n";
    return 0;
  }
  if (command == L"texts") {
    for (HWND child : ChildWindows(window)) answer += WindowText(child) + L"\n";
    return 0;
  }
  if (command == L"column" && argc == 5) {
    for (HWND child : ChildWindows(window)) {
      if (ClassName(child) == WC_LISTVIEWW)
        return ColumnCells(child, _wtoi(argv[4]), answer) ? 0 : 1;
    }
    return 1;
  }
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return 2;
  std::wstring answer;
  const int status = Run(argc, argv, answer);
  WriteAnswer(argv[1], answer);
  return status;
}
