// The window at 144 and 192 DPI: every length scales from twips, the pictures by whole source
// pixels, the words are drawn with fonts of that DPI, and the scaled labels answer clicks.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tests/wine/scene_check.hpp"
#include "tools/driver/screen.hpp"
#include "tools/driver/text.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

namespace kelvarin::e2e {
namespace {

// Wine reads the screen's DPI from here when a process starts (the machine-wide font key
// works too; this is the one its own settings write).
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kDpiValue[] = L"LogPixels";

struct KeyTraits {
  using Handle = HKEY;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::RegCloseKey(h); }
};

LSTATUS setScreenDpi(DWORD dpi) {
  HKEY opened = nullptr;
  LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &opened, nullptr);
  const win32::Unique<KeyTraits> key(opened);
  if (status == ERROR_SUCCESS) {
    status = ::RegSetValueExW(key.get(), kDpiValue, 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  return status;
}

// The DPI of every program started while this lives; 96 again afterwards, which the other
// tests expect.
class ScreenDpi {
public:
  explicit ScreenDpi(int dpi) {
    if (const LSTATUS status = setScreenDpi(static_cast<DWORD>(dpi)); status != ERROR_SUCCESS) {
      throw std::system_error(static_cast<int>(status), std::system_category(), "LogPixels");
    }
  }
  ScreenDpi(const ScreenDpi&) = delete;
  ScreenDpi& operator=(const ScreenDpi&) = delete;
  ~ScreenDpi() {
    if (setScreenDpi(layout::kBaseDpi) != ERROR_SUCCESS) {
      ADD_FAILURE() << "the screen's DPI could not be set back to 96";
    }
  }
};

struct Scale {
  int dpi;
  int width; // the client area's: 3030 x 1995 twips, each length rounded down
  int height;
};

class AtDpi : public InGameFolder, public testing::WithParamInterface<Scale> {
protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(start()); }

  // Made before the program starts, which reads the DPI then.
  ScreenDpi screenDpi_{GetParam().dpi};
};

TEST_P(AtDpi, WindowTextBoxAndPicturesScale) {
  const Scale scale = GetParam();
  RECT client{};
  ASSERT_NE(::GetClientRect(window_, &client), 0);
  EXPECT_EQ(client.right, scale.width);
  EXPECT_EQ(client.bottom, scale.height);

  const HWND edit = ::FindWindowExW(window_, nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  RECT box{};
  ASSERT_NE(::GetWindowRect(edit, &box), 0);
  ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
  const layout::Rect expected = pixelsOf("txtMode", scale.dpi);
  EXPECT_EQ(box.left, expected.left);
  EXPECT_EQ(box.top, expected.top);
  EXPECT_EQ(box.right, expected.right());
  EXPECT_EQ(box.bottom, expected.bottom());

  EXPECT_EQ(pictureMismatches(restingPicture(*app_), sceneAt(scale.width, scale.height), scale.dpi),
            "");
}

// The middle of the scaled label lies outside the label's 96-DPI rectangle.
TEST_P(AtDpi, ClickOnTheScaledSwitchLabelSwitches) {
  const layout::Rect r = pixelsOf("lblSwitch", GetParam().dpi);
  app_->clickAt({r.left + r.width / 2, r.top + r.height / 2});
  EXPECT_TRUE(app_->waitForModeText(expected::kModeOn)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_TRUE(folder_.exists(expected::kMarker));
}

// The tooltip's area is the scaled label too, from the first time the pointer comes.
TEST_P(AtDpi, TooltipShowsOverTheScaledExitLabel) {
  const layout::Rect r = pixelsOf("lblExit", GetParam().dpi);
  EXPECT_TRUE(app_->hover(
      {r.right() - 2, r.bottom() - 2}, [&] { return app_->tooltipText() == expected::kExitTip; },
      std::chrono::seconds(4)))
      << utf8(app_->tooltipText().value_or(L"(none)"));
}

INSTANTIATE_TEST_SUITE_P(Wine, AtDpi, testing::Values(Scale{144, 303, 199}, Scale{192, 404, 266}),
                         [](const testing::TestParamInfo<Scale>& scale) {
                           return "Dpi" + std::to_string(scale.param.dpi);
                         });

pictures::Canvas windowPicture(const GameFolder& folder) {
  Kelvarin app(folder);
  if (app.waitForWindow() == nullptr) {
    throw std::runtime_error("the window did not appear");
  }
  return restingPicture(app);
}

// At twice the DPI the pictures are exactly doubled, which a stretched 96-DPI window would be
// too: only the words tell a font made at 192 DPI from a magnified one.
TEST(Dpi, WordsAreDrawnAtTheDpiNotMagnified) {
  const GameFolder folder(GameFolder::Game::Installed);
  const pictures::Canvas usual = windowPicture(folder);
  const pictures::Canvas large = [&] {
    const ScreenDpi doubled(192);
    return windowPicture(folder);
  }();
  const pictures::Canvas usualScene = sceneAt(202, 133);
  const pictures::Canvas largeScene = sceneAt(404, 266);
  ASSERT_EQ(pictureMismatches(large, largeScene, 192), "");

  const layout::Rect label = pixelsOf("lblExit", 192);
  const layout::Rect usualWord = wordBox(usual, usualScene, pixelsOf("lblExit", 96));
  const layout::Rect largeWord = wordBox(large, largeScene, label);
  ASSERT_GT(usualWord.height, 8);
  EXPECT_NEAR(largeWord.height, 2 * usualWord.height, 3);
  EXPECT_NEAR(largeWord.width, 2 * usualWord.width, 6);

  int unlikeMagnified = 0;
  for (int y = label.top; y < label.bottom(); ++y) {
    for (int x = label.left; x < label.right(); ++x) {
      unlikeMagnified += large.at(x, y) != usual.at(x / 2, y / 2) ? 1 : 0;
    }
  }
  EXPECT_GT(unlikeMagnified, 20);
}

} // namespace
} // namespace kelvarin::e2e
