// The window's place and size: centred at the start, where the system suggests on a DPI change.
#include "window/placement.hpp"

#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "window/dpi_resources.hpp"

namespace kelvarin::win32 {

bool outerSize(int dpi, SIZE& outer) noexcept {
  RECT frame = clientAt(dpi);
  if (!adjustWindowRectForDpi(frame, kWindowStyle, kWindowExStyle, dpi)) {
    return false;
  }
  outer = {frame.right - frame.left, frame.bottom - frame.top};
  return true;
}

Status placeCentred(HWND window, int dpi) {
  SIZE outer{};
  if (!outerSize(dpi, outer)) {
    return lastError();
  }
  return placeAt(window,
                 {(::GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2,
                  (::GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2},
                 outer, dpi);
}

// A frame the system draws at another DPI than the window's (PerMonitor v1, which leaves the
// frame as it was; Wine) leaves the client area off the scene's size: the difference is made up
// once, so that the paint fills the client area exactly.
Status placeAt(HWND window, POINT topLeft, SIZE outer, int dpi) {
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (::SetWindowPos(window, nullptr, topLeft.x, topLeft.y, outer.cx, outer.cy, kFlags) == 0) {
    return lastError();
  }
  RECT client{};
  if (::GetClientRect(window, &client) == 0) {
    return lastError();
  }
  const RECT scene = clientAt(dpi);
  return check((client.right == scene.right && client.bottom == scene.bottom) ||
               ::SetWindowPos(window, nullptr, 0, 0, outer.cx + scene.right - client.right,
                              outer.cy + scene.bottom - client.bottom, kFlags | SWP_NOMOVE) != 0);
}

} // namespace kelvarin::win32
