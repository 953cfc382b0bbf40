// The window's control table: whole pixels, plates and their labels, stacking and hit testing.
#include "window/layout.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace kelvarin::layout {
namespace {

const Control& named(std::string_view name) {
  for (const Control& control : kControls) {
    if (control.name == name) {
      return control;
    }
  }
  throw std::out_of_range("no control");
}

std::string_view hitName(int x, int y) {
  const auto hit = hitTest(x, y);
  return hit ? kControls[*hit].name : std::string_view("wall");
}

TEST(Layout, EveryLengthIsAWholePixel) {
  EXPECT_EQ(kWindow.clientWidthTwips % 15, 0);
  EXPECT_EQ(kWindow.clientHeightTwips % 15, 0);
  for (const Control& c : kControls) {
    for (const int length : {c.twips.left, c.twips.top, c.twips.width, c.twips.height}) {
      EXPECT_EQ(length % 15, 0) << c.name;
    }
  }
  EXPECT_EQ(toPixels(kWindow.clientWidthTwips), 202);
  EXPECT_EQ(toPixels(kWindow.clientHeightTwips), 133);
}

TEST(Layout, EachCommandLabelSitsOnItsPlateOnePixelNarrowerFourLower) {
  const std::pair<std::string_view, std::string_view> pairs[] = {
      {"lblSwitch", "cmdSwitch"}, {"lblRun", "imgRun"}, {"lblExit", "cmdExit"}};
  for (const auto& [label, plate] : pairs) {
    const Rect l = toPixels(named(label).twips);
    const Rect p = toPixels(named(plate).twips);
    EXPECT_EQ(l.left, p.left) << label;
    EXPECT_EQ(l.top, p.top) << label;
    EXPECT_EQ(l.width + 1, p.width) << label;
    EXPECT_EQ(l.height + 4, p.height) << label;
    EXPECT_EQ(named(label).pointer, Pointer::Hand);
    EXPECT_NE(named(label).click, Command::None);
    EXPECT_EQ(named(plate).click, Command::None);
  }
}

TEST(Layout, NoControlsOverlapButLabelsAndTheirPlates) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    for (std::size_t j = i + 1; j < kControls.size(); ++j) {
      const Rect a = toPixels(kControls[i].twips);
      const Rect b = toPixels(kControls[j].twips);
      const bool overlap =
          a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
      const bool labelOnPlate = a.left == b.left && a.top == b.top;
      EXPECT_TRUE(!overlap || labelOnPlate) << kControls[i].name << " / " << kControls[j].name;
    }
  }
}

TEST(HitTest, TheTopmostControlOwnsEachPoint) {
  // lblSwitch spans x 120..184, y 8..32; its plate reaches x 185 and y 36.
  EXPECT_EQ(hitName(120, 8), "lblSwitch");
  EXPECT_EQ(hitName(184, 32), "lblSwitch");
  EXPECT_EQ(hitName(185, 8), "cmdSwitch") << "the plate's uncovered column";
  EXPECT_EQ(hitName(120, 33), "cmdSwitch") << "the plate's uncovered rows";
  EXPECT_EQ(hitName(185, 36), "cmdSwitch");
  EXPECT_EQ(hitName(186, 8), "wall");
  EXPECT_EQ(hitName(120, 37), "wall");
  EXPECT_EQ(hitName(119, 8), "wall");
  EXPECT_EQ(hitName(120, 7), "wall");
  EXPECT_EQ(hitName(8, 64), "lblRun");
  EXPECT_EQ(hitName(8, 96), "lblExit");
  EXPECT_EQ(hitName(80, 96), "txtMode");
  EXPECT_EQ(hitName(0, 0), "Label2");
  EXPECT_EQ(hitName(200, 132), "Label1");
  EXPECT_EQ(hitName(201, 132), "wall");
}

TEST(TabOrder, GoesRoundTheFocusableControlsByTabIndex) {
  const std::string_view forward[] = {"txtMode", "lblRun", "lblExit", "lblSwitch", "txtMode"};
  const auto next = [](std::string_view name, bool back) {
    const auto from = static_cast<std::size_t>(&named(name) - kControls.data());
    return kControls[nextInTabOrder(from, back)].name;
  };
  for (std::size_t i = 0; i + 1 < std::size(forward); ++i) {
    EXPECT_EQ(next(forward[i], false), forward[i + 1]);
    EXPECT_EQ(next(forward[i + 1], true), forward[i]);
  }
  EXPECT_EQ(kTabOrder.size(), 4u) << "Label1, Label2 and the pictures never take the focus";
}

// Drawn in the system's colours, every word differs in colour from what it lies on: a label's
// from the plate it lies on or else the wall, the text box's from the box.
TEST(Fonts, PointSizesGiveTheSystemsPixelHeights) {
  EXPECT_EQ(fontHeight(kSmallFont), 11);
  EXPECT_EQ(fontHeight(kPlateFont), 19);
  EXPECT_EQ(fontHeight(kPlateFont, 192), 38);
}

} // namespace
} // namespace kelvarin::layout
