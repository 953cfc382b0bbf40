// The mouse over the window: the hand over the command labels, and clicks.
#pragma once

#include "window/dpi_resources.hpp"

#include <windows.h>

#include <optional>

namespace kelvarin::win32 {

// A click is a press and a release on the same control, as with any button.
class Pointer {
public:
  // WM_SETCURSOR over the client area, and whenever the pointer's hands are replaced: the pointer
  // that belongs where the system's is. `set` is false where the system cannot say where that
  // is. The hands are made as the pointer first needs them.
  Status onSetCursor(HWND window, DpiResources& resources, bool& set) const;
  // The move's own position settles the pointer: the system's position, which WM_SETCURSOR
  // reads, may already be past it or not yet there.
  Status onMouseMove(HWND window, POINT point, DpiResources& resources) const {
    return show(window, point, resources);
  }
  void onButtonDown(HWND window, POINT point, const DpiResources& resources);
  // The control clicked, where the release ends a click.
  std::optional<std::size_t> onButtonUp(HWND window, POINT point, const DpiResources& resources);
  void onCaptureChanged() noexcept { pressed_.reset(); }

private:
  // The hand where a control wants one, else the class's arrow.
  Status show(HWND window, POINT client, DpiResources& resources) const;

  std::optional<std::size_t> pressed_;
};

} // namespace kelvarin::win32
