// The three commands, clicked with the real mouse: switch, run and exit, and how the program
// comes through a folder that changed under it.
#include "tests/wine/driver.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace kelvarin::e2e {
namespace {

const std::wstring kOn = L"FUN MODE IS ON";
const std::wstring kOff = L"FUN MODE IS OFF";
constexpr std::wstring_view kMarker = L"fun.mode.on";
const std::string kCreditLine = "Created with Kelvarin by tarquel\r\n";

class Commands : public testing::Test {
protected:
  Commands() : folder_(GameFolder::Game::Installed) {}

  void start() {
    app_ = std::make_unique<Kelvarin>(folder_);
    ASSERT_NE(app_->waitForWindow(), nullptr) << "the window did not appear";
  }

  // An error box that names `subject` and gives a reason; OK closes it and the program runs on.
  void expectErrorBox(std::wstring_view subject) {
    const auto box = app_->waitForMessageBox();
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->caption, L"Kelvarin");
    EXPECT_TRUE(box->hasIcon);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_NE(box->text.find(subject), std::wstring::npos) << utf8(box->text);
    const std::size_t reason = box->text.find(L"\n\n");
    ASSERT_NE(reason, std::wstring::npos) << utf8(box->text);
    EXPECT_GT(box->text.size(), reason + 2) << "no reason given";
    app_->pressOk(*box);
    app_->settle();
    EXPECT_TRUE(app_->running());
    EXPECT_FALSE(app_->hasMessageBox());
  }

  // Declared first, so the program has ended before its folder goes.
  GameFolder folder_;
  std::unique_ptr<Kelvarin> app_;
};

TEST_F(Commands, SwitchWritesTheMarkerThenDeletesIt) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kOn)) << utf8(app_->modeText());
  app_->settle(); // the file is written after the display changes
  EXPECT_EQ(folder_.read(kMarker), kCreditLine);

  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kOff)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_FALSE(folder_.exists(kMarker));
  EXPECT_FALSE(app_->hasMessageBox());
}

TEST_F(Commands, SwitchOffAfterTheMarkerVanishedIsNoError) {
  folder_.write(kMarker, "");
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(kMarker);
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kOff)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_FALSE(app_->hasMessageBox());
  EXPECT_TRUE(app_->running());
  EXPECT_FALSE(folder_.exists(kMarker));
}

TEST_F(Commands, SwitchThatCannotWriteTheMarkerSaysWhyAndStaysOff) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.makeFolder(kMarker); // a folder where the file should go
  app_->click("lblSwitch");
  ASSERT_NO_FATAL_FAILURE(expectErrorBox(kMarker));
  EXPECT_EQ(app_->modeText(), kOff);

  // The recorded mode is the one shown: the next switch turns the mode on.
  folder_.remove(kMarker);
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kOn)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_EQ(folder_.read(kMarker), kCreditLine);
}

TEST_F(Commands, RunStartsTheGameMinimizedInItsFolder) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->click("lblRun");
  ASSERT_TRUE(folder_.waitForGameStarts(1)) << "the game was not started";
  const std::string expected = "path=" + utf8(folder_.pathOf(L"icytower.exe")) +
                               "|folder=" + utf8(folder_.path()) + "|show=2|marker=0";
  EXPECT_EQ(folder_.gameStarts(), std::vector<std::string>{expected});
  app_->settle();
  EXPECT_TRUE(app_->running());
  EXPECT_FALSE(app_->hasMessageBox());
}

TEST_F(Commands, RunWithoutTheGameSaysWhyAndKeepsRunning) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(L"icytower.exe");
  app_->click("lblRun");
  ASSERT_NO_FATAL_FAILURE(expectErrorBox(L"icytower.exe"));
  EXPECT_TRUE(folder_.gameStarts().empty());
}

// From the text box, where the focus starts, Tab reaches Run, Exit and Switch in turn, and
// Space or Enter there does what a click does. A held key switches only once.
TEST_F(Commands, KeysRunTheCommandsInTabOrder) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->pressKey(VK_TAB);
  app_->pressKey(VK_RETURN);
  ASSERT_TRUE(folder_.waitForGameStarts(1)) << "Enter on Run started no game";

  app_->pressKey(VK_TAB);
  app_->pressKey(VK_TAB);
  app_->pressKey(VK_SPACE);
  ASSERT_TRUE(app_->waitForModeText(kOn)) << "Space on Switch: " << utf8(app_->modeText());
  app_->settle();
  EXPECT_EQ(folder_.read(kMarker), kCreditLine);

  app_->pressKey(VK_SPACE, 0, 4); // switches off once, not four times
  app_->pressKey(VK_TAB, VK_SHIFT);
  app_->pressKey(VK_RETURN);
  ASSERT_TRUE(app_->waitForExit()) << "Enter on Exit did not end the program";
  EXPECT_FALSE(folder_.exists(kMarker));
  EXPECT_EQ(folder_.gameStarts().size(), 1u);
}

TEST_F(Commands, ExitEndsTheProgramAndLeavesTheMarker) {
  folder_.write(kMarker, "foreign");
  ASSERT_NO_FATAL_FAILURE(start());
  app_->click("lblExit");
  EXPECT_TRUE(app_->waitForExit());
  EXPECT_EQ(folder_.read(kMarker), "foreign");
}

} // namespace
} // namespace kelvarin::e2e
