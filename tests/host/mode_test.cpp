// The form's handlers: start-up, the switch, run and exit commands, and how each failure is told
// and survived. The files and processes are a folder in memory: how the system's own files
// behave is tested against the shipped program, under Wine.
#include "mode/frm_main.hpp"
#include "platform/report.hpp"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelvarin {
namespace {

const std::string kMarkerBytes = "Created with Kelvarin by tarquel\r\n";
const Error kDenied{5, L"Access is denied."};

void expectOk(const Status& status) {
  EXPECT_TRUE(status.ok()) << "unexpected error " << status.error().code;
}

struct ShownMessage {
  std::wstring text;
  std::wstring caption;
  MessageIcon icon;
};

// The least of the system the form needs: the current folder's files by name, the boxes shown,
// the programs started, and a failure to give instead of each kind of change.
struct Folder final : Platform {
  bool canOpenForReading(std::wstring_view name) override {
    return files.contains(std::wstring(name));
  }
  Status writeLine(std::wstring_view name, std::string_view line) override {
    if (writeFails) {
      return *writeFails;
    }
    files[std::wstring(name)] = std::string(line) + "\r\n";
    return {};
  }
  Status deleteFile(std::wstring_view name) override {
    if (deleteFails) {
      return *deleteFails;
    }
    files.erase(std::wstring(name));
    return {};
  }
  Status messageBox(std::wstring_view text, std::wstring_view caption, MessageIcon icon) override {
    messages.push_back({std::wstring(text), std::wstring(caption), icon});
    return {};
  }
  Status startProgram(std::wstring_view name) override {
    if (startFails) {
      return *startFails;
    }
    started.emplace_back(name);
    return {};
  }

  std::map<std::wstring, std::string> files;
  std::optional<Error> writeFails;
  std::optional<Error> deleteFails;
  std::optional<Error> startFails;
  std::vector<ShownMessage> messages;
  std::vector<std::wstring> started;
};

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

class FrmMainTest : public ::testing::Test {
protected:
  void withGame() { platform.files[L"icytower.exe"] = "MZ"; }
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
  // What failed, then the system's reason, in the one box; the program runs on.
  void expectOneError(std::wstring_view what) const {
    ASSERT_EQ(platform.messages.size(), 1U);
    const ShownMessage& shown = platform.messages.front();
    EXPECT_EQ(shown.text, std::wstring(what) + L"\n\nAccess is denied.");
    EXPECT_EQ(shown.caption, L"Kelvarin");
    EXPECT_EQ(shown.icon, MessageIcon::Error);
    EXPECT_FALSE(window.closed);
  }
  std::string marker() const { return platform.files.at(L"fun.mode.on"); }
  bool hasMarker() const { return platform.files.contains(L"fun.mode.on"); }

  Folder platform;
  Window window;
  FrmMain form{platform, window};
};

TEST_F(FrmMainTest, RefusesToRunWithoutTheGameAndTouchesNothing) {
  platform.files[L"fun.mode.on"] = "kept";
  start();
  ASSERT_EQ(platform.messages.size(), 1U);
  EXPECT_EQ(platform.messages[0].text,
            L"Icytower.exe wasn't found. The switcher must be in the game directory.");
  EXPECT_EQ(platform.messages[0].caption, L"Kelvarin");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::None);
  EXPECT_TRUE(window.closed);
  EXPECT_EQ(window.writes, 0) << "Butt never runs";
  EXPECT_EQ(marker(), "kept");
}

TEST_F(FrmMainTest, StartsWithTheModeTheMarkerSaysAndLeavesItAlone) {
  withGame();
  start();
  expectOff();
  EXPECT_FALSE(hasMarker());
  for (const std::string content : {"", "someone else's words\n"}) {
    platform.files[L"fun.mode.on"] = content;
    Window fresh;
    FrmMain other(platform, fresh);
    expectOk(other.Form_Load());
    EXPECT_EQ(other.Tag(), L"True");
    EXPECT_EQ(fresh.switchCaption, L"Off");
    EXPECT_EQ(fresh.modeText, L"FUN MODE IS ON");
    EXPECT_EQ(marker(), content);
  }
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrmMainTest, ButtRecordsAndShowsButNeverTouchesTheDisk) {
  expectOk(form.Butt(true));
  expectOn();
  expectOk(form.Butt(true));
  expectOn();
  expectOk(form.Butt(false));
  expectOff();
  EXPECT_TRUE(platform.files.empty());
}

TEST_F(FrmMainTest, SwitchesOnWithTheCreditLineAndOffAgain) {
  withGame();
  start();
  expectOk(form.lblSwitch_Click());
  expectOn();
  EXPECT_EQ(marker(), kMarkerBytes);
  expectOk(form.lblSwitch_Click());
  expectOff();
  EXPECT_FALSE(hasMarker());
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(FrmMainTest, DecidesFromTheRecordedModeNotTheDisk) {
  withGame();
  start();
  platform.files[L"fun.mode.on"] = "made by someone else";
  expectOk(form.lblSwitch_Click());
  expectOn();
  EXPECT_EQ(marker(), kMarkerBytes) << "overwritten, as recorded off";

  platform.files.erase(L"fun.mode.on");
  expectOk(form.lblSwitch_Click());
  expectOff();
  EXPECT_FALSE(hasMarker());
  EXPECT_TRUE(platform.messages.empty());
}

// After a failed change the mode shown is the disk's, asked again, not the one before the click.
TEST_F(FrmMainTest, FailedSwitchOnIsToldAndShowsWhatTheDiskHolds) {
  withGame();
  start();
  platform.writeFails = kDenied;
  expectOk(form.lblSwitch_Click());
  expectOneError(L"The file \"fun.mode.on\" could not be written.");
  expectOff();

  // Someone else's marker that cannot be overwritten: on, as the game will see it.
  platform.messages.clear();
  platform.files[L"fun.mode.on"] = "read-only";
  expectOk(form.lblSwitch_Click());
  expectOneError(L"The file \"fun.mode.on\" could not be written.");
  expectOn();
  EXPECT_EQ(marker(), "read-only");
}

TEST_F(FrmMainTest, FailedSwitchOffIsToldAndShowsWhatTheDiskHolds) {
  withGame();
  platform.files[L"fun.mode.on"] = "";
  start();
  platform.deleteFails = kDenied;
  expectOk(form.lblSwitch_Click());
  expectOneError(L"The file \"fun.mode.on\" could not be deleted.");
  expectOn();
  EXPECT_TRUE(hasMarker());
}

TEST_F(FrmMainTest, RunStartsTheGameAndKeepsRunning) {
  withGame();
  start();
  expectOk(form.lblRun_Click());
  EXPECT_EQ(platform.started, std::vector<std::wstring>{L"icytower.exe"});
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(window.closed);

  platform.startFails = kDenied;
  expectOk(form.lblRun_Click());
  expectOneError(L"The game \"icytower.exe\" could not be started.");
  expectOff();
}

// Before the start-up check has recorded a mode, a switch has nothing to go by: the error goes
// to the window, which shows the last-resort report with its number and the reason.
TEST_F(FrmMainTest, AnUnrecordedModeIsAnErrorForTheWindowToReport) {
  withGame();
  const Status clicked = form.lblSwitch_Click();
  ASSERT_FALSE(clicked.ok());
  EXPECT_TRUE(platform.messages.empty()) << "reported by the window, not here";
  EXPECT_FALSE(hasMarker());
  EXPECT_EQ(window.writes, 0);

  reportUnhandled(platform, clicked.error(), L"Kelvarin");
  ASSERT_EQ(platform.messages.size(), 1U);
  EXPECT_EQ(platform.messages[0].text, L"Run-time error 13:\n\n\"\" is not a Boolean.\n\n"
                                       L"The program will now end.");
  EXPECT_EQ(platform.messages[0].caption, L"Kelvarin");
  EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
}

TEST_F(FrmMainTest, ExitEndsTheProgramAndLeavesTheMarker) {
  withGame();
  start();
  expectOk(form.lblSwitch_Click());
  expectOk(form.lblExit_Click());
  EXPECT_TRUE(window.closed);
  EXPECT_EQ(marker(), kMarkerBytes);
  EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace kelvarin
