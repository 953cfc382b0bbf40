// The mode logic on real files: start-up, the switch, run and exit commands, and how each
// failure is told and survived.
#include "mode/frm_main.hpp"
#include "mode/texts.hpp"
#include "platform/posix/posix_platform.hpp"
#include "tests/host/temp_current_folder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace kelvarin {
namespace {

namespace fs = std::filesystem;
using test::TempCurrentFolder;

const std::string kMarkerBytes = "Created with Kelvarin by tarquel\r\n";

void expectOk(const Status& status) {
  EXPECT_TRUE(status.ok()) << "unexpected error " << status.error().code;
}

struct Window final : FormHost {
  std::wstring switchCaption = L"On";
  std::wstring modeText = L"FUN MODE IS OFF";
  int writes = 0;
  bool closed = false;
  Status setSwitchCaption(std::wstring_view caption) override {
    switchCaption = caption;
    ++writes;
    return {};
  }
  Status setModeText(std::wstring_view text) override {
    modeText = text;
    ++writes;
    return {};
  }
  void close() override { closed = true; }
};

class Switcher : public ::testing::Test {
protected:
  void withGame() { TempCurrentFolder::write("icytower.exe", "MZ"); }
  void start() { expectOk(form.Form_Load()); }

  void expectOn() const {
    EXPECT_EQ(form.Tag(), L"True");
    EXPECT_EQ(window.switchCaption, L"Off");
    EXPECT_EQ(window.modeText, L"FUN MODE IS ON");
  }
  void expectOff() const {
    EXPECT_EQ(form.Tag(), L"False");
    EXPECT_EQ(window.switchCaption, L"On");
    EXPECT_EQ(window.modeText, L"FUN MODE IS OFF");
  }
  void expectOneError(std::wstring_view naming) const {
    ASSERT_EQ(platform.messages().size(), 1U);
    const auto& shown = platform.messages().front();
    EXPECT_EQ(shown.caption, L"Kelvarin");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_NE(shown.text.find(naming), std::wstring::npos) << "names what failed";
    EXPECT_GT(shown.text.size(), naming.size() + 4) << "gives the system's reason";
    EXPECT_FALSE(window.closed);
  }

  TempCurrentFolder folder;
  posix::PosixPlatform platform;
  Window window;
  FrmMain form{platform, window};
};

TEST_F(Switcher, RefusesToRunWithoutTheGameAndTouchesNothing) {
  TempCurrentFolder::write("fun.mode.on", "kept");
  start();
  ASSERT_EQ(platform.messages().size(), 1U);
  EXPECT_EQ(platform.messages()[0].text,
            L"Icytower.exe wasn't found. The switcher must be in the game directory.");
  EXPECT_EQ(platform.messages()[0].caption, L"Kelvarin");
  EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
  EXPECT_TRUE(window.closed);
  EXPECT_EQ(window.writes, 0) << "Butt never runs";
  EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), "kept");
}

TEST_F(Switcher, GameThatIsAFolderCountsAsMissing) {
  fs::create_directory("icytower.exe");
  start();
  EXPECT_TRUE(window.closed);
}

TEST_F(Switcher, StartsOffWithoutMarker) {
  withGame();
  start();
  expectOff();
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_FALSE(fs::exists("fun.mode.on"));
}

TEST_F(Switcher, StartsOnWithAnyMarkerAndLeavesItAlone) {
  withGame();
  for (const std::string content : {"", "someone else's words\n"}) {
    TempCurrentFolder::write("fun.mode.on", content);
    Window fresh;
    FrmMain other(platform, fresh);
    expectOk(other.Form_Load());
    EXPECT_EQ(other.Tag(), L"True");
    EXPECT_EQ(fresh.modeText, L"FUN MODE IS ON");
    EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), content);
  }
}

TEST_F(Switcher, MarkerThatIsAFolderMeansOff) {
  withGame();
  fs::create_directory("fun.mode.on");
  start();
  expectOff();
}

TEST_F(Switcher, ButtRecordsAndShowsButNeverTouchesTheDisk) {
  expectOk(form.Butt(true));
  expectOn();
  expectOk(form.Butt(true));
  expectOn();
  expectOk(form.Butt(false));
  expectOff();
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(Switcher, SwitchesOnWithTheCreditLineAndOffAgain) {
  withGame();
  start();
  expectOk(form.lblSwitch_Click());
  expectOn();
  EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), kMarkerBytes);
  expectOk(form.lblSwitch_Click());
  expectOff();
  EXPECT_FALSE(fs::exists("fun.mode.on"));
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(Switcher, TwoSwitchesReplaceAForeignMarkerWithTheCreditLine) {
  withGame();
  TempCurrentFolder::write("fun.mode.on", "foreign");
  start();
  expectOk(form.lblSwitch_Click());
  expectOk(form.lblSwitch_Click());
  expectOn();
  EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), kMarkerBytes);
}

TEST_F(Switcher, DecidesFromTheRecordedModeNotTheDisk) {
  withGame();
  start();
  TempCurrentFolder::write("fun.mode.on", "made by someone else");
  expectOk(form.lblSwitch_Click());
  expectOn();
  EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), kMarkerBytes) << "overwritten, as recorded off";
}

TEST_F(Switcher, MarkerAlreadyGoneWhenSwitchingOffIsNoFailure) {
  withGame();
  TempCurrentFolder::write("fun.mode.on", "");
  start();
  fs::remove("fun.mode.on");
  expectOk(form.lblSwitch_Click());
  expectOff();
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_FALSE(window.closed);
}

TEST_F(Switcher, FailedSwitchOnIsToldAndShowsWhatTheDiskHolds) {
  withGame();
  start();
  fs::create_directory("fun.mode.on");
  expectOk(form.lblSwitch_Click());
  expectOneError(L"\"fun.mode.on\"");
  expectOff();
  EXPECT_TRUE(fs::is_directory("fun.mode.on"));
}

TEST_F(Switcher, FailedSwitchOnOfAFullDiskLeavesNoPartialMarker) {
  withGame();
  start();
  std::error_code noDevice;
  fs::create_symlink("/dev/full", "fun.mode.on", noDevice);
  if (noDevice || !fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full to fill";
  }
  expectOk(form.lblSwitch_Click());
  expectOneError(L"\"fun.mode.on\"");
  expectOff();
  EXPECT_FALSE(fs::exists(fs::symlink_status("fun.mode.on")));
}

TEST_F(Switcher, FailedSwitchOffIsToldAndShowsWhatTheDiskHolds) {
  withGame();
  fs::create_directory("fun.mode.on");
  start();
  // Recorded on, but the name is a folder that cannot be deleted as a file.
  expectOk(form.Butt(true));
  expectOk(form.lblSwitch_Click());
  expectOneError(L"\"fun.mode.on\"");
  expectOff();
  EXPECT_TRUE(fs::is_directory("fun.mode.on"));
}

TEST_F(Switcher, RunStartsTheCurrentFoldersGameAndKeepsRunning) {
  TempCurrentFolder::write("icytower.exe", "#!/bin/sh\npwd > started.txt\n");
  fs::permissions("icytower.exe", fs::perms::owner_all);
  start();
  expectOk(form.lblRun_Click());
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_FALSE(window.closed);
  // The game runs on its own; give it a moment to leave its trace.
  for (int i = 0; i < 200 && TempCurrentFolder::read("started.txt").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(TempCurrentFolder::read("started.txt"), fs::canonical(folder.path()).string() + "\n");
}

TEST_F(Switcher, RunWithTheGameGoneIsToldAndKeepsRunning) {
  withGame();
  start();
  fs::remove("icytower.exe");
  expectOk(form.lblRun_Click());
  expectOneError(L"\"icytower.exe\"");
}

TEST_F(Switcher, AnUnrecordedModeIsAnErrorForTheWindowToReport) {
  withGame();
  const Status clicked = form.lblSwitch_Click(); // before the start-up check ran
  EXPECT_FALSE(clicked.ok());
  EXPECT_TRUE(platform.messages().empty()) << "reported by the window, not here";
}

TEST_F(Switcher, ExitEndsTheProgramAndLeavesTheMarker) {
  withGame();
  start();
  expectOk(form.lblSwitch_Click());
  expectOk(form.lblExit_Click());
  EXPECT_TRUE(window.closed);
  EXPECT_EQ(TempCurrentFolder::read("fun.mode.on"), kMarkerBytes);
}

} // namespace
} // namespace kelvarin
