// What the window makes for its DPI: fonts and hand cursors.
#pragma once

#include "platform/error.hpp"
#include "platform/win32/handles.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <array>

namespace kelvarin::win32 {

// The fonts of the labels, the text box and the tooltips, and the hand cursors: a set for each
// DPI, made beside the set in use and put in its place once made. They are used by the window,
// its text box and its tooltip, so they must outlive all three. What the first frame does not
// show, the hands and the tooltips' font, is made when it is first asked for.
class DpiResources {
public:
  // Makes the fonts the window shows at `dpi` into this new set; stops at the first failure.
  Status make(int dpi);

  int dpi() const noexcept { return dpi_; }
  HFONT labelFont(const layout::Font& font) const noexcept;
  HFONT boxFont() const noexcept { return boxFont_.get(); }
  // Null where it cannot be made: the tooltips then keep their own.
  HFONT tooltipFont() noexcept;
  // The control's hand, made at the first ask; `hand` stays null for a control without one.
  Status handOf(std::size_t control, HCURSOR& hand);
  bool isHand(HCURSOR cursor) const noexcept;

private:
  Status makeFonts();

  int dpi_ = layout::kBaseDpi;
  UniqueFont smallFont_;
  UniqueFont plateFont_;
  UniqueFont boxFont_;
  UniqueFont tooltipFont_;
  std::array<UniqueCursor, layout::kControls.size()> hands_;
};

} // namespace kelvarin::win32
