// Painting and its look, high contrast included, and the text box's colours.
#pragma once

#include "pictures/pictures.hpp"
#include "platform/error.hpp"
#include "platform/win32/handles.hpp"
#include "window/dpi_resources.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace kelvarin::win32 {

// The pictures composed at the window's DPI, or the theme's colours in their place under high
// contrast, with the labels' words and the focus cue over them, all drawn in one back buffer.
class Painting {
public:
  // The pictures composed again for the client area at `dpi`.
  Status compose(int dpi);
  // Reads whether the system's high contrast is on, at the start and whenever the system's
  // settings or colours change.
  void readHighContrast() noexcept;

  // WM_PAINT, with the focus cue on `cue` if it is given.
  Status paint(HWND window, const DpiResources& resources, const layout::ControlTexts& texts,
               std::optional<std::size_t> cue);
  // WM_CTLCOLORSTATIC, which the read-only text box sends.
  LRESULT textBoxColours(HDC dc) const noexcept;

private:
  Status draw(HDC dc, const DpiResources& resources, const layout::ControlTexts& texts,
              std::optional<std::size_t> cue);

  pictures::Canvas scene_{0, 0}; // the pictures, composed at the window's DPI
  UniqueBitmap backBuffer_;
  void* backBits_ = nullptr;
  bool highContrast_ = false;
};

} // namespace kelvarin::win32
