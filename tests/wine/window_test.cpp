// The main window as the user meets it: its frame and place, which points of it answer the
// mouse, the pointer and the tooltips over them, and what the screen shows of the words.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tests/wine/scene_check.hpp"
#include "tools/driver/pixels.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/screen.hpp"
#include "tools/driver/text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <utility>

namespace kelvarin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr std::array<std::string_view, 3> kCommandLabels{"lblSwitch", "lblRun", "lblExit"};
// Between the run plate and the switch plate: no control covers it.
constexpr POINT kBareWall{96, 40};
// The middle of the title bar, above the client area.
constexpr POINT kTitleBar{101, -8};

struct Spot {
  std::string name;
  POINT at;
};

POINT centreOf(std::string_view control) {
  const layout::Rect r = pixelsOf(control);
  return {r.left + r.width / 2, r.top + r.height / 2};
}

// Each command label ends one column left of its plate's edge and four rows above its foot:
// the first uncovered column and row belong to the plate, which does nothing.
std::vector<Spot> uncoveredStrips() {
  std::vector<Spot> spots;
  for (const std::string_view plate : {"cmdSwitch", "imgRun", "cmdExit"}) {
    const layout::Rect r = pixelsOf(plate);
    spots.push_back({std::string(plate) + " right column", {r.right() - 1, r.top + r.height / 2}});
    spots.push_back({std::string(plate) + " bottom rows", {r.left + r.width / 2, r.bottom() - 4}});
  }
  return spots;
}

// `spots`, then the middle of each of `controls`, then the bare wall.
std::vector<Spot> andWall(std::vector<Spot> spots,
                          std::initializer_list<std::string_view> controls) {
  for (const std::string_view control : controls) {
    spots.push_back({std::string(control), centreOf(control)});
  }
  spots.push_back({"bare wall", kBareWall});
  return spots;
}

class Window : public InGameFolder {
protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(start()); }
};

TEST_F(Window, IsAFixedFrameOfTheRightSizeInTheMiddleOfTheScreen) {
  wchar_t caption[64] = {};
  ASSERT_GT(::GetWindowTextW(window_, caption, 64), 0);
  EXPECT_STREQ(caption, expected::kCaption.c_str());

  const auto style = static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_NE(style & WS_SYSMENU, 0u);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);

  RECT client{};
  ASSERT_NE(::GetClientRect(window_, &client), 0);
  EXPECT_EQ(client.right, 202);
  EXPECT_EQ(client.bottom, 133);

  RECT outer{};
  ASSERT_NE(::GetWindowRect(window_, &outer), 0);
  EXPECT_LE(std::abs(outer.left + outer.right - ::GetSystemMetrics(SM_CXSCREEN)), 2);
  EXPECT_LE(std::abs(outer.top + outer.bottom - ::GetSystemMetrics(SM_CYSCREEN)), 2);

  const HWND edit = ::FindWindowExW(window_, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  RECT box{};
  ASSERT_NE(::GetWindowRect(edit, &box), 0);
  ASSERT_NE(::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2), 0);
  EXPECT_EQ(box.left, 80);
  EXPECT_EQ(box.top, 96);
  EXPECT_EQ(box.right - box.left, 113);
  EXPECT_EQ(box.bottom - box.top, 19);
}

TEST_F(Window, OnlyTheCommandLabelsAnswerClicks) {
  for (const Spot& spot : andWall(uncoveredStrips(), {"Label1", "Label2", "txtMode"})) {
    app_->clickAt(spot.at);
  }
  // The last pixel of the run label still runs: input is handled in order, so once the game
  // has started every click before has been handled too.
  const layout::Rect run = pixelsOf("lblRun");
  app_->clickAt({run.right() - 1, run.bottom() - 1});
  ASSERT_TRUE(folder_.waitForGameStarts(1)) << "the clicks did not reach the window";
  ASSERT_TRUE(app_->running()) << "a click ended the program";
  app_->settle();
  EXPECT_EQ(folder_.gameStarts().size(), 1u);
  EXPECT_EQ(app_->modeText(), expected::kModeOff);
  EXPECT_FALSE(folder_.exists(expected::kMarker));
  EXPECT_FALSE(app_->hasMessageBox());
}

TEST_F(Window, PointerIsTheHandOnlyOverCommandLabels) {
  // Handles of the system cursors differ from process to process under Wine: the program's
  // own arrow is the one its title bar shows, a pixel down from it too, as hover() says why.
  for (const LONG down : {0, 1}) {
    app_->moveTo({kTitleBar.x, kTitleBar.y + down});
    std::this_thread::sleep_for(300ms);
  }
  const HCURSOR arrow = app_->cursor();
  ASSERT_NE(arrow, nullptr);
  const auto showsArrowAt = [&](POINT point, bool wanted) {
    return app_->hover(
        point, [&] { return (app_->cursor() == arrow) == wanted; }, 3s);
  };
  for (const std::string_view label : kCommandLabels) {
    EXPECT_TRUE(showsArrowAt(centreOf(label), false)) << label;
  }
  // From the hand each time, so that an arrow seen is one the move brought.
  for (const Spot& spot : andWall(uncoveredStrips(), {"Label1"})) {
    ASSERT_TRUE(showsArrowAt(centreOf("lblRun"), false));
    EXPECT_TRUE(showsArrowAt(spot.at, true)) << spot.name;
  }
}

TEST_F(Window, TooltipsShowOnlyOverCommandLabels) {
  const std::array<std::wstring, 3> texts{expected::kSwitchTip, expected::kRunTip,
                                          expected::kExitTip};
  for (std::size_t i = 0; i < kCommandLabels.size(); ++i) {
    EXPECT_TRUE(app_->hover(
        centreOf(kCommandLabels[i]), [&] { return app_->tooltipText() == texts[i]; }, 4s))
        << kCommandLabels[i] << ": " << utf8(app_->tooltipText().value_or(L"(none)"));
  }
  const std::vector<Spot> strips = uncoveredStrips();
  for (const Spot& spot : andWall({strips.front()}, {"Label1", "txtMode"})) {
    app_->moveTo(spot.at);
    std::this_thread::sleep_for(1500ms); // three times the delay a tooltip takes to show
    EXPECT_EQ(app_->tooltipText(), std::nullopt) << spot.name;
  }
}

// Text is drawn black-ish on pictures that have little as dark.
bool isInk(std::uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) < 60 && ((pixel >> 8) & 0xFF) < 60 && (pixel & 0xFF) < 60;
}

struct Ink {
  int count = 0;
  int left = INT_MAX;
  int right = INT_MIN; // the last column with ink

  int width() const { return right - left + 1; }
};

// The dark pixels of `area`, without those joined to its edge where `edge` says so: a word
// lies well inside its label, while the plate's outline reaches into the label's corners.
Ink inkIn(const pictures::Canvas& image, const layout::Rect& area, bool withEdge) {
  const int width = area.width;
  const int height = std::min(area.bottom(), image.height) - area.top;
  std::vector<char> dark(static_cast<std::size_t>(width * height));
  const auto cell = [&](int x, int y) -> char& {
    return dark[static_cast<std::size_t>(y * width + x)];
  };
  std::vector<std::pair<int, int>> edge;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      cell(x, y) = isInk(image.at(area.left + x, area.top + y)) ? 1 : 0;
      if (cell(x, y) != 0 && !withEdge && (x == 0 || y == 0 || x == width - 1 || y == height - 1)) {
        edge.push_back({x, y});
      }
    }
  }
  while (!edge.empty()) {
    const auto [px, py] = edge.back();
    edge.pop_back();
    cell(px, py) = 0;
    for (int y = std::max(0, py - 1); y <= std::min(height - 1, py + 1); ++y) {
      for (int x = std::max(0, px - 1); x <= std::min(width - 1, px + 1); ++x) {
        if (cell(x, y) != 0) {
          cell(x, y) = 0;
          edge.push_back({x, y});
        }
      }
    }
  }
  Ink ink;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (cell(x, y) != 0) {
        ++ink.count;
        ink.left = std::min(ink.left, area.left + x);
        ink.right = std::max(ink.right, area.left + x);
      }
    }
  }
  return ink;
}

// The word as the plate font draws it at `weight`, black on white in a label's place: bold
// shows in its width wherever it does in its strokes.
Ink rendered(std::wstring_view word, int weight, const layout::Rect& label) {
  const DibSection dib(label.width, label.height);
  RECT all{0, 0, label.width, label.height};
  EXPECT_NE(::FillRect(dib.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))), 0);
  // Only the face, size and weight count: the words are plain ASCII.
  const win32::UniqueFont font(
      ::CreateFontW(-layout::fontHeight(layout::kPlateFont), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH, std::wstring(layout::kPlateFont.face).c_str()));
  EXPECT_TRUE(font);
  const win32::Selection selected(dib.dc(), font.get());
  EXPECT_NE(::SetBkMode(dib.dc(), TRANSPARENT), 0);
  EXPECT_NE(::DrawTextW(dib.dc(), word.data(), static_cast<int>(word.size()), &all,
                        DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX),
            0);
  return inkIn(dib.pixels(), {0, 0, label.width, label.height}, true);
}

TEST_F(Window, PlateWordsAreBoldAndCentred) {
  const pictures::Canvas shot = restingPicture(*app_);
  saveBmp(shot, windowsPath(KELVARIN_WINDOW_PICTURE));

  const std::array<std::wstring_view, 3> words{expected::kSwitchOn, expected::kRun,
                                               expected::kExit};
  for (std::size_t i = 0; i < kCommandLabels.size(); ++i) {
    const std::string_view label = kCommandLabels[i];
    const layout::Rect r = pixelsOf(label);
    const Ink ink = inkIn(shot, {r.left + 2, r.top + 2, r.width - 4, r.height - 4}, false);
    ASSERT_GT(ink.count, 0) << label;
    EXPECT_LE(std::abs(ink.left + ink.right + 1 - (2 * r.left + r.width)), 4)
        << label << ": ink from " << ink.left << " to " << ink.right;
    const int regular = rendered(words[i], FW_NORMAL, r).width();
    const int bold = rendered(words[i], FW_BOLD, r).width();
    ASSERT_GT(bold, regular) << label;
    EXPECT_LT(std::abs(ink.width() - bold), std::abs(ink.width() - regular))
        << label << ": " << ink.width() << " pixels wide, regular " << regular << ", bold " << bold;
  }
  for (const std::string_view label : {"Label1", "Label2"}) {
    EXPECT_GT(inkIn(shot, pixelsOf(label), true).count, 0) << label;
  }
}

} // namespace
} // namespace kelvarin::e2e
