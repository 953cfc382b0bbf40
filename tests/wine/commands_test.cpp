// The three commands, clicked with the real mouse: switch, run and exit, and how the program
// comes through a folder that changed under it.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tools/driver/text.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace kelvarin::e2e {
namespace {

using expected::kMarker;
using expected::kMarkerBytes;
using expected::kModeOff;
using expected::kModeOn;

class Commands : public InGameFolder {
protected:
  // An error box that names `subject` and gives a reason; OK closes it and the program runs on.
  void expectErrorBox(std::wstring_view subject) {
    const auto box = app_->waitForMessageBox();
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->caption, expected::kCaption);
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
};

TEST_F(Commands, SwitchWritesTheMarkerThenDeletesIt) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kModeOn)) << utf8(app_->modeText());
  app_->settle(); // the file is written after the display changes
  EXPECT_EQ(folder_.read(kMarker), kMarkerBytes);

  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kModeOff)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_FALSE(folder_.exists(kMarker));
  EXPECT_FALSE(app_->hasMessageBox());
}

TEST_F(Commands, SwitchOffAfterTheMarkerVanishedIsNoError) {
  folder_.write(kMarker, "");
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(kMarker);
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kModeOff)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_FALSE(app_->hasMessageBox());
  EXPECT_TRUE(app_->running());
  EXPECT_FALSE(folder_.exists(kMarker));
}

// A folder where the marker should go is no marker: the mode is off, and stays off.
TEST_F(Commands, SwitchThatCannotWriteTheMarkerSaysWhyAndStaysOff) {
  folder_.makeFolder(kMarker);
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(app_->modeText(), kModeOff);
  app_->click("lblSwitch");
  ASSERT_NO_FATAL_FAILURE(expectErrorBox(kMarker));
  EXPECT_EQ(app_->modeText(), kModeOff);

  // The recorded mode is the one shown: the next switch turns the mode on.
  folder_.remove(kMarker);
  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(kModeOn)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_EQ(folder_.read(kMarker), kMarkerBytes);
}

TEST_F(Commands, RunStartsTheGameMinimizedInItsFolder) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->click("lblRun");
  ASSERT_TRUE(folder_.waitForGameStarts(1)) << "the game was not started";
  const std::string started = "path=" + utf8(folder_.pathOf(expected::kGame)) +
                              "|folder=" + utf8(folder_.path()) + "|show=2|marker=0";
  EXPECT_EQ(folder_.gameStarts(), std::vector<std::string>{started});
  app_->settle();
  EXPECT_TRUE(app_->running());
  EXPECT_FALSE(app_->hasMessageBox());
}

TEST_F(Commands, RunWithoutTheGameSaysWhyAndKeepsRunning) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(expected::kGame);
  app_->click("lblRun");
  ASSERT_NO_FATAL_FAILURE(expectErrorBox(expected::kGame));
  EXPECT_TRUE(folder_.gameStarts().empty());
}

// From the text box, where the focus starts, Tab reaches Run, Exit and Switch in turn, and
// Space or Enter there does what a click does: Enter as it goes down, Space as it comes up after
// going down here. A held key switches only once.
TEST_F(Commands, KeysRunTheCommandsInTabOrder) {
  ASSERT_NO_FATAL_FAILURE(start());
  app_->pressKey(VK_TAB);
  app_->pressKey(VK_RETURN);
  ASSERT_TRUE(folder_.waitForGameStarts(1)) << "Enter on Run started no game";

  app_->pressKey(VK_TAB);
  app_->pressKey(VK_TAB);
  app_->pressKey(VK_SPACE, 0, 0); // a release whose press went elsewhere
  app_->pressKey(VK_SPACE, 0, 2, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  app_->settle();
  EXPECT_EQ(app_->modeText(), kModeOff) << "Space acted before it came up";
  app_->pressKey(VK_SPACE, 0, 0);
  ASSERT_TRUE(app_->waitForModeText(kModeOn)) << "Space on Switch: " << utf8(app_->modeText());
  app_->settle();
  EXPECT_EQ(folder_.read(kMarker), kMarkerBytes);

  app_->pressKey(VK_SPACE, 0, 4); // switches off once, not four times
  app_->pressKey(VK_TAB, VK_SHIFT);
  app_->pressKey(VK_RETURN);
  ASSERT_TRUE(app_->waitForExit()) << "Enter on Exit did not end the program";
  EXPECT_FALSE(folder_.exists(kMarker));
  EXPECT_EQ(folder_.gameStarts().size(), 1u);
}

// Task Manager's End task sends WM_CLOSE, and may do so while a command's box is up: the window
// stays under the running command, and the program ends once the box is closed.
TEST_F(Commands, CloseWhileAnErrorBoxIsUpEndsOnceTheBoxIsClosed) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(expected::kGame);
  app_->click("lblRun");
  const auto box = app_->waitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  ::SendMessageTimeoutW(window_, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr);
  EXPECT_TRUE(::IsWindow(window_));
  ASSERT_TRUE(::IsWindow(box->window)) << "the box went with the window";
  app_->pressOk(*box);
  EXPECT_TRUE(app_->waitForExit());
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
