// Start-up of the real program: outside the game folder it refuses to run, inside it shows the
// mode the marker file says.
#include "tests/wine/expected.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/kelvarin.hpp"

#include <gtest/gtest.h>

namespace kelvarin::e2e {
namespace {

// The refusal: exactly this box, and after OK the end, the window never shown.
void expectRefusal(Kelvarin& app) {
  const auto box = app.waitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, expected::kGameMissing);
  EXPECT_EQ(box->caption, expected::kCaption);
  EXPECT_FALSE(box->hasIcon);
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(app.windowEverShown());
  app.pressOk(*box);
  EXPECT_TRUE(app.waitForExit()) << "still running after OK";
  EXPECT_FALSE(app.windowEverShown());
}

TEST(StartupOutsideTheGameFolder, RefusesAndEndsWithoutShowingTheWindow) {
  const GameFolder folder(GameFolder::Game::Missing);
  Kelvarin app(folder);
  expectRefusal(app);
}

TEST(StartupOutsideTheGameFolder, AMarkerWithoutTheGameIsRefusedAndLeftAsItWas) {
  const GameFolder folder(GameFolder::Game::Missing);
  const std::string foreign = "not ours\r\n\x01\xff";
  folder.write(expected::kMarker, foreign);
  Kelvarin app(folder);
  expectRefusal(app);
  EXPECT_EQ(folder.read(expected::kMarker), foreign);
}

TEST(StartupInTheGameFolder, WithoutAMarkerTheModeIsOff) {
  const GameFolder folder(GameFolder::Game::Installed);
  Kelvarin app(folder);
  ASSERT_NE(app.waitForWindow(), nullptr);
  EXPECT_EQ(app.modeText(), expected::kModeOff);
  EXPECT_FALSE(app.hasMessageBox());
  EXPECT_FALSE(folder.exists(expected::kMarker));
}

TEST(StartupInTheGameFolder, AnyMarkerMeansOnAndIsLeftAsItWas) {
  for (const std::string_view content : {"", "written by someone else\n"}) {
    SCOPED_TRACE("marker of " + std::to_string(content.size()) + " bytes");
    const GameFolder folder(GameFolder::Game::Installed);
    folder.write(expected::kMarker, content);
    Kelvarin app(folder);
    ASSERT_NE(app.waitForWindow(), nullptr);
    EXPECT_EQ(app.modeText(), expected::kModeOn);
    EXPECT_EQ(folder.read(expected::kMarker), content);
  }
}

} // namespace
} // namespace kelvarin::e2e
