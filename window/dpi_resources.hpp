// What the window makes for its DPI, fonts and hand cursors, and its rectangles at that DPI.
#pragma once

#include "platform/error.hpp"
#include "platform/win32/handles.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <array>

namespace kelvarin::win32 {

// Where the program's own pictures fail to decode: nothing the user can mend, but no crash.
Error damagedPictures();

// The control's rectangle in client pixels at `dpi`.
RECT rectAt(const layout::Control& control, int dpi) noexcept;

// The client area at `dpi`, from (0, 0).
RECT clientAt(int dpi) noexcept;

// The fonts of the labels, the text box and the tooltips, and the hand cursors: made again
// for each DPI, in place of what was made for the one before. They are used by the
// window, its text box and its tooltip, so they must outlive all three.
class DpiResources {
public:
  // Stops at the first failure.
  Status make(int dpi);

  int dpi() const noexcept { return dpi_; }
  HFONT labelFont(const layout::Font* font) const noexcept;
  HFONT boxFont() const noexcept { return boxFont_.get(); }
  HFONT tooltipFont() const noexcept { return tooltipFont_.get(); }
  // Null for a control without a hand.
  HCURSOR handOf(std::size_t control) const noexcept { return hands_[control].get(); }

private:
  Status makeFonts();
  Status makeHands();

  int dpi_ = layout::kBaseDpi;
  UniqueFont smallFont_;
  UniqueFont plateFont_;
  UniqueFont boxFont_;
  UniqueFont tooltipFont_;
  std::array<UniqueCursor, layout::kControls.size()> hands_;
};

} // namespace kelvarin::win32
