// The window's pictures as the screen shows them at 96 DPI, and the program file's icon.
#include "assets/picture_records.hpp"
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tests/wine/scene_check.hpp"
#include "window/resource.h"
#include "tools/driver/keyboard_cues.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/screen.hpp"
#include "tools/driver/wait.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace kelvarin::e2e {
namespace {

constexpr std::array<std::string_view, 3> kPlates{"cmdSwitch", "imgRun", "cmdExit"};
constexpr std::array<std::string_view, 3> kWords{"lblSwitch", "lblRun", "lblExit"};

class Pictures : public InGameFolder {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(start());
    shot_ = restingPicture(*app_);
    ASSERT_EQ(shot_.width, 202);
    ASSERT_EQ(shot_.height, 133);
  }

  const KeyboardCues cues_{false}; // as Windows has them out of the box
  pictures::Canvas shot_{0, 0};
};

TEST_F(Pictures, ScreenShowsTheComposedPicturesUnderTheWords) {
  const pictures::Canvas scene = sceneAt(202, 133);
  EXPECT_EQ(pictureMismatches(shot_, scene, layout::kBaseDpi), "");
  // The words are there too, over the pictures, not instead of them.
  for (const std::string_view label : kWords) {
    EXPECT_GT(wordBox(shot_, scene, pixelsOf(label)).height, 8) << label;
  }
}

// A player who only clicks sees the window as it always was; the dotted focus cue shows once
// Tab is pressed, inside the label it marks.
TEST_F(Pictures, FocusCueShowsOnlyOnceTheKeyboardIsUsed) {
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(expected::kModeOn));
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(expected::kModeOff));
  EXPECT_TRUE(waitUntil([&] { return changedArea(restingPicture(*app_), shot_).width == 0; },
                        std::chrono::seconds(3)))
      << "a click showed a cue";

  app_->pressKey(VK_TAB); // from the text box to Run
  pictures::Canvas cued{0, 0};
  ASSERT_TRUE(waitUntil(
      [&] {
        cued = app_->clientPixels();
        return changedArea(cued, shot_).width > 0;
      },
      std::chrono::seconds(3)))
      << "no cue";
  const layout::Rect cue = changedArea(cued, shot_);
  const layout::Rect run = pixelsOf("lblRun");
  EXPECT_TRUE(run.contains(cue.left, cue.top) && run.contains(cue.right() - 1, cue.bottom() - 1))
      << "the cue spans " << cue.left << ", " << cue.top << " to " << cue.right() << ", "
      << cue.bottom();
}

// Held against the wall and the plate themselves, not the composed scene: the plates are
// one picture, with the wall showing through wherever it is transparent.
TEST_F(Pictures, PlatesAreOnePictureWithTheWallThroughItsHoles) {
  const pictures::Canvas scene = sceneAt(202, 133);
  const auto wallFile = assets::recordFile(assets::frmMainPicture);
  const auto wall = wallFile ? pictures::readBmp(*wallFile) : std::nullopt;
  const auto plateFile = assets::recordFile(assets::cmdSwitchPicture);
  const auto plate = plateFile ? pictures::readGif(*plateFile) : std::nullopt;
  ASSERT_TRUE(wall && plate);

  const layout::Rect size = pixelsOf(kPlates[0]);
  // The plate alone at its size, on a colour no picture has: that colour shows its holes.
  constexpr std::uint32_t kHole = 0xFF000000;
  pictures::Canvas alone(size.width, size.height, kHole);
  ASSERT_TRUE(
      pictures::draw(alone, *plate, {size.width, size.height, 0, 0, size.width, size.height}));
  std::vector<layout::Rect> words; // relative to the plate
  for (std::size_t i = 0; i < kPlates.size(); ++i) {
    const layout::Rect r = pixelsOf(kPlates[i]);
    ASSERT_EQ(r.width, size.width);
    ASSERT_EQ(r.height, size.height);
    const layout::Rect word = wordBox(shot_, scene, pixelsOf(kWords[i]));
    words.push_back({word.left - r.left, word.top - r.top, word.width, word.height});
  }
  int compared = 0;
  int holes = 0;
  std::string wrong; // the first few places where a plate is not as it should be
  int wrongCount = 0;
  const auto expect = [&](bool right, std::string_view which, int x, int y) {
    if (!right && ++wrongCount <= 5) {
      wrong +=
          " " + std::string(which) + " (" + std::to_string(x) + ", " + std::to_string(y) + ");";
    }
  };
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const bool hole = alone.at(x, y) == kHole;
      const bool covered = std::any_of(words.begin(), words.end(),
                                       [&](const layout::Rect& w) { return w.contains(x, y); });
      holes += hole ? 1 : 0;
      compared += !hole && !covered ? 1 : 0;
      const std::uint32_t first = shot_.at(size.left + x, size.top + y);
      for (const std::string_view name : kPlates) {
        const layout::Rect r = pixelsOf(name);
        const std::uint32_t shown = shot_.at(r.left + x, r.top + y);
        if (hole) {
          expect(shown == wall->at(r.left + x, r.top + y), name, x, y);
        } else if (!covered) {
          expect(shown == first, name, x, y);
        }
      }
    }
  }
  EXPECT_EQ(wrongCount, 0) << "wrong at" << wrong;
  EXPECT_GT(holes, 0);
  EXPECT_GT(compared, size.width * size.height / 2);
}

// Loaded as data: its resources are read, nothing of it runs.
TEST(ProgramFile, IconIsTheWindowIcon) {
  const win32::UniqueModule exe(::LoadLibraryExW(
      kelvarinExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(exe) << ::GetLastError();
  const auto bytes = [&](HRSRC found) -> std::span<const std::uint8_t> {
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(exe.get(), found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
      return {};
    }
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(exe.get(), found)};
  };

  // A group directory: a six-byte header with the image count, then 14 bytes an image,
  // whose last two are the image's RT_ICON number.
  const auto group =
      bytes(::FindResourceW(exe.get(), MAKEINTRESOURCEW(IDI_KELVARIN), RT_GROUP_ICON));
  ASSERT_EQ(group.size(), 6u + 14u);
  EXPECT_EQ(group[4] | group[5] << 8, 1);
  const auto image =
      bytes(::FindResourceW(exe.get(), MAKEINTRESOURCEW(group[18] | group[19] << 8), RT_ICON));

  const auto iconFile = assets::recordFile(assets::frmMainIcon);
  const auto windowIcon = iconFile ? pictures::iconImage(*iconFile) : std::nullopt;
  ASSERT_TRUE(windowIcon);
  ASSERT_EQ(image.size(), windowIcon->image.size());
  EXPECT_EQ(std::memcmp(image.data(), windowIcon->image.data(), image.size()), 0);
}

} // namespace
} // namespace kelvarin::e2e
