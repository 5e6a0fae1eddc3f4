// What the Windows tests and the probe read of windows that they did not make, in this process
// or another (Windows only).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every descendant window of `parent`, in the system's order.
std::vector<HWND> ChildWindows(HWND parent);

// The window's class name, such as "Static" or "SysListView32".
std::wstring ClassName(HWND window);

// The window's text, asked of the window itself, so that a control of another process answers
// too.
std::wstring WindowText(HWND window);
