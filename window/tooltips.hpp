// The labels' tooltips, made on the first move onto a label that has one.
#pragma once

#include "platform/win32/handles.hpp"
#include "window/dpi_resources.hpp"

#include <windows.h>

namespace kelvarin::win32 {

// They come from the common controls, which cost a sixth of the program's memory: most runs
// never load them.
class Tooltips {
public:
  explicit Tooltips(HINSTANCE instance) noexcept : instance_(instance) {}
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  // A WM_MOUSEMOVE of the window, with its parameters.
  void onMouseMove(HWND window, POINT point, WPARAM keys, DpiResources& resources);
  // The tooltips' font and areas at the window's DPI.
  void fit(HWND window, DpiResources& resources);
  // The window has destroyed the tooltip with itself.
  void forget() noexcept { tooltip_ = nullptr; }

private:
  // Tooltips are a help, not a function, so where they can't be made the window goes on
  // without them.
  void create(HWND window, POINT point, WPARAM keys, DpiResources& resources);

  HINSTANCE instance_;
  // Loaded once, and kept until after the window and its tooltip have gone.
  UniqueModule commonControls_;
  bool tried_ = false;
  HWND tooltip_ = nullptr; // owned by the window, which destroys it
};

} // namespace kelvarin::win32
