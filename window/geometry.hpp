// The layout table's rectangles in the window's pixels at a DPI.
#pragma once

#include "window/layout.hpp"

#include <windows.h>

namespace kelvarin::win32 {

// The control's rectangle in client pixels at `dpi`.
inline RECT rectAt(const layout::Control& control, int dpi) noexcept {
  const layout::Rect r = layout::toPixels(control.twips, dpi);
  return {r.left, r.top, r.right(), r.bottom()};
}

// The client area at `dpi`, from (0, 0).
inline RECT clientAt(int dpi) noexcept {
  return {0, 0, layout::toPixels(layout::kWindow.clientWidthTwips, dpi),
          layout::toPixels(layout::kWindow.clientHeightTwips, dpi)};
}

// Repaints the control on the window at `dpi`. Not before the window is shown, which paints it
// whole; the text box paints itself, and the window's paint would only cover it.
inline void invalidateControl(HWND window, std::size_t control, int dpi) {
  if (window != nullptr && ::IsWindowVisible(window) != 0 &&
      layout::kControls[control].kind != layout::Kind::TextBox) {
    const RECT r = rectAt(layout::kControls[control], dpi);
    ::InvalidateRect(window, &r, FALSE);
  }
}

} // namespace kelvarin::win32
