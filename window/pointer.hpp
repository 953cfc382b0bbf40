// The mouse over the window: the hand over the command labels, and clicks.
#pragma once

#include "window/dpi_resources.hpp"

#include <windows.h>

#include <optional>

namespace kelvarin::win32 {

// A click is a press and a release on the same control, as with any button.
class Pointer {
public:
  // WM_SETCURSOR over the client area: `set` where the hand is set, else the class's arrow is
  // left to the system. The hands are made as the pointer first needs them.
  Status onSetCursor(HWND window, DpiResources& resources, bool& set) const;
  Status onMouseMove(HWND window, POINT point, DpiResources& resources) const;
  void onButtonDown(HWND window, POINT point, const DpiResources& resources);
  // The control clicked, where the release ends a click.
  std::optional<std::size_t> onButtonUp(HWND window, POINT point, const DpiResources& resources);
  void onCaptureChanged() noexcept { pressed_.reset(); }

private:
  std::optional<std::size_t> pressed_;
};

} // namespace kelvarin::win32
