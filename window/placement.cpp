// The window's place and size: centred at the start, where the system suggests on a DPI change.
#include "window/placement.hpp"

#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "window/geometry.hpp"

namespace kelvarin::win32 {

namespace {

constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE;

} // namespace

bool outerSize(int dpi, SIZE& outer) noexcept {
  RECT frame = clientAt(dpi);
  if (!adjustWindowRectForDpi(frame, kWindowStyle, kWindowExStyle, dpi)) {
    return false;
  }
  outer = {frame.right - frame.left, frame.bottom - frame.top};
  return true;
}

bool centredRect(int dpi, RECT& rect) noexcept {
  SIZE outer{};
  if (!outerSize(dpi, outer)) {
    return false;
  }
  rect.left = (::GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
  rect.top = (::GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  rect.right = rect.left + outer.cx;
  rect.bottom = rect.top + outer.cy;
  return true;
}

Status placeCentred(HWND window, int dpi) {
  RECT rect{};
  if (!centredRect(dpi, rect)) {
    return lastError();
  }
  return placeAt(window, {rect.left, rect.top}, {rect.right - rect.left, rect.bottom - rect.top},
                 dpi);
}

Status placeAt(HWND window, POINT topLeft, SIZE outer, int dpi) {
  if (::SetWindowPos(window, nullptr, topLeft.x, topLeft.y, outer.cx, outer.cy, kPlaceFlags) == 0) {
    return lastError();
  }
  return fitClientArea(window, outer, dpi);
}

// A frame the system draws at another DPI than the window's (PerMonitor v1, which leaves the
// frame as it was; Wine) leaves the client area off the scene's size: the difference is made up
// once, so that the paint fills the client area exactly.
Status fitClientArea(HWND window, SIZE outer, int dpi) {
  RECT client{};
  if (::GetClientRect(window, &client) == 0) {
    return lastError();
  }
  const RECT scene = clientAt(dpi);
  return check((client.right == scene.right && client.bottom == scene.bottom) ||
               ::SetWindowPos(window, nullptr, 0, 0, outer.cx + scene.right - client.right,
                              outer.cy + scene.bottom - client.bottom,
                              kPlaceFlags | SWP_NOMOVE) != 0);
}

} // namespace kelvarin::win32
