// Where the window stands on the screen, and its frame's size around the scene at a DPI.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

namespace kelvarin::win32 {

// A fixed single-line border with caption, system menu and close box; no minimise or
// maximise box, so the size never changes.
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kWindowExStyle = 0;

// Newer than the headers the program is built against.
inline constexpr UINT kDpiChangedMessage = 0x02E0;       // WM_DPICHANGED, Windows 8.1 and later
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4; // WM_GETDPISCALEDSIZE, Windows 10 1703

// The window's outer size for the scene at `dpi`, its frame measured at that DPI too: the
// answer to WM_GETDPISCALEDSIZE. False, with the last error set, where the system cannot say.
bool outerSize(int dpi, SIZE& outer) noexcept;
// The window's rectangle centred on the screen for the scene at `dpi`, to be created in: a
// window placed once it exists costs Wine a dozen round trips to its server.
bool centredRect(int dpi, RECT& rect) noexcept;
// Centred on the screen, for the scene at `dpi`.
Status placeCentred(HWND window, int dpi);
// At that corner and size, with a client area of the scene's size at `dpi`.
Status placeAt(HWND window, POINT topLeft, SIZE outer, int dpi);
// Makes up the difference where the window of that outer size has a client area off the
// scene's size at `dpi`.
Status fitClientArea(HWND window, SIZE outer, int dpi);

} // namespace kelvarin::win32
