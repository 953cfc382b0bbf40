// The window's dots per inch, with the per-monitor calls of Windows 10 where they exist and
// the system's single DPI elsewhere (XP to 8.1, and Wine).
#pragma once

#include <windows.h>

namespace kelvarin::win32 {

// Both give `fallback` where the system cannot say: the caller knows what its lengths assume.
int systemDpi(int fallback) noexcept;

int windowDpi(HWND window, int fallback) noexcept;

// The outer size for a client area, with the frame measured at `dpi`.
bool adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) noexcept;

} // namespace kelvarin::win32
