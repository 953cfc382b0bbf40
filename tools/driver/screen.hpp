// The screen: its DC, its DPI, and where the window's controls lie on it.
#pragma once

#include "platform/win32/handles.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <string_view>

namespace kelvarin::e2e {

// The whole screen's DC.
class ScreenDc : public win32::WindowDc {
public:
  ScreenDc();
};

int screenDpi();

// The control's rectangle in client pixels at the screen's DPI.
layout::Rect pixelsOf(std::string_view control);
// The same for a program started at another DPI.
layout::Rect pixelsOf(std::string_view control, int dpi);

} // namespace kelvarin::e2e
