// Faults the program meets in the field, driven through the real program with the real mouse:
// a marker that someone else made, write-protected or holds open, a game that vanished or was
// never a program, a deep folder with awkward letters, and decoys of the game elsewhere. After
// each, the program must still run, have said what failed, show what the
// disk holds and have left no file lost or half-written.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarin::e2e {
namespace {

using expected::kCannotDelete;
using expected::kCannotStart;
using expected::kCannotWrite;
using expected::kGame;
using expected::kMarker;
using expected::kMarkerBytes;
using expected::kModeOff;
using expected::kModeOn;

// Longer than the credit line: an overwrite that does not truncate leaves its tail behind.
const std::string kForeign = "someone else's marker, longer than the credit line\r\n";

// The file write-protected while this lives: the folder's clean-up could not delete it else.
class WriteProtected {
public:
  WriteProtected(const GameFolder& folder, std::wstring_view name) : folder_(folder), name_(name) {
    folder_.setReadOnly(name_);
  }
  WriteProtected(const WriteProtected&) = delete;
  WriteProtected& operator=(const WriteProtected&) = delete;
  ~WriteProtected() {
    // Failing here leaves only a stray temporary file; it must not hide the test's result.
    ::SetFileAttributesW(folder_.pathOf(name_).c_str(), FILE_ATTRIBUTE_NORMAL);
  }

private:
  const GameFolder& folder_;
  std::wstring name_;
};

class Faults : public InGameFolder {
protected:
  // Exactly what failed, then the system's reason; after OK the program runs on, showing
  // `shown` as the mode.
  void expectFailure(const std::wstring& what, const std::wstring& shown) {
    const auto box = app_->waitForMessageBox();
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(box->caption, expected::kCaption);
    EXPECT_TRUE(box->hasIcon);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    const std::wstring lead = what + L"\n\n";
    EXPECT_EQ(box->text.substr(0, lead.size()), lead) << utf8(box->text);
    EXPECT_GT(box->text.size(), lead.size()) << "no reason given";
    app_->pressOk(*box);
    app_->settle();
    EXPECT_TRUE(app_->running());
    EXPECT_FALSE(app_->hasMessageBox());
    EXPECT_EQ(app_->modeText(), shown);
  }

  void switchTo(const std::wstring& shown) {
    app_->click("lblSwitch");
    ASSERT_TRUE(app_->waitForModeText(shown)) << utf8(app_->modeText());
    app_->settle(); // the file changes after the display
    EXPECT_FALSE(app_->hasMessageBox());
  }
};

TEST_F(Faults, AMarkerMadeBySomeoneElseWhileOffIsOverwrittenBySwitchingOn) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.write(kMarker, kForeign);
  ASSERT_NO_FATAL_FAILURE(switchTo(kModeOn));
  EXPECT_EQ(folder_.read(kMarker), kMarkerBytes);
}

TEST_F(Faults, AReadOnlyMarkerIsNeitherDeletedNorOverwritten) {
  folder_.write(kMarker, kForeign);
  const WriteProtected guard(folder_, kMarker);
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_EQ(app_->modeText(), kModeOn);
  app_->click("lblSwitch");
  ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotDelete, kModeOn));
  EXPECT_EQ(folder_.read(kMarker), kForeign);
}

TEST_F(Faults, SwitchingOnOverAReadOnlyMarkerFailsAndShowsTheMarkerThere) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.write(kMarker, kForeign);
  const WriteProtected guard(folder_, kMarker);
  // Wine keeps the attribute as permission bits, which do not stop root from writing.
  if (win32::UniqueFile(::CreateFileW(folder_.pathOf(kMarker).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {
    GTEST_SKIP() << "this system lets a read-only file be opened for writing";
  }
  app_->click("lblSwitch");
  ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotWrite, kModeOn));
  EXPECT_EQ(folder_.read(kMarker), kForeign);
}

TEST_F(Faults, AMarkerHeldOpenByAnotherProgramIsNotDeleted) {
  folder_.write(kMarker, kForeign);
  ASSERT_NO_FATAL_FAILURE(start());
  {
    const win32::UniqueFile held = folder_.lock(kMarker);
    app_->click("lblSwitch");
    // Held open it cannot be opened for reading either, so the mode shows as off.
    ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotDelete, kModeOff));
  }
  EXPECT_EQ(folder_.read(kMarker), kForeign);
}

TEST_F(Faults, AMarkerHeldOpenByAnotherProgramIsNotOverwritten) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.write(kMarker, kForeign);
  {
    const win32::UniqueFile held = folder_.lock(kMarker);
    app_->click("lblSwitch");
    ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotWrite, kModeOff));
  }
  EXPECT_EQ(folder_.read(kMarker), kForeign);
}

TEST_F(Faults, AMarkerThatCannotBeReadAtStartUpMeansOffAndIsLeftAlone) {
  folder_.write(kMarker, kForeign);
  {
    const win32::UniqueFile held = folder_.lock(kMarker);
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(app_->modeText(), kModeOff);
    app_->settle();
  }
  EXPECT_FALSE(app_->hasMessageBox());
  EXPECT_EQ(folder_.read(kMarker), kForeign);
}

TEST_F(Faults, RunWhenTheGameWasReplacedByAFolderSaysWhyAndKeepsRunning) {
  ASSERT_NO_FATAL_FAILURE(start());
  folder_.remove(kGame);
  folder_.makeFolder(kGame);
  app_->click("lblRun");
  ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotStart, kModeOff));
}

TEST_F(Faults, AnEmptyGameFileLetsTheWindowOpenButCannotBeRun) {
  folder_.remove(kGame);
  folder_.write(kGame, "");
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_EQ(app_->modeText(), kModeOff);
  app_->click("lblRun");
  ASSERT_NO_FATAL_FAILURE(expectFailure(kCannotStart, kModeOff));
  EXPECT_EQ(folder_.read(kGame), "");
}

TEST(FaultsAtStartUp, AGameThatIsAFolderIsRefused) {
  const GameFolder folder(GameFolder::Game::Missing);
  folder.makeFolder(kGame);
  Kelvarin app(folder);
  const auto box = app.waitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, expected::kGameMissing);
  EXPECT_FALSE(box->hasIcon);
  app.pressOk(*box);
  EXPECT_TRUE(app.waitForExit()) << "still running after OK";
  EXPECT_FALSE(app.windowEverShown());
}

// Start-up, both switches and run in a folder whose path is long and full of spaces and
// letters outside ASCII.
TEST(FaultsInAnAwkwardFolder, EveryCommandWorksInADeepFolder) {
  const GameFolder outer(GameFolder::Game::Missing);
  const std::wstring first = L"Spiele f\u00fcr alle Jahreszeiten";
  const std::wstring nested = first + L"\\\u00c9t\u00e9 \u0416\u0443\u043a und Co";
  outer.makeFolder(first);
  outer.makeFolder(nested);
  const GameFolder folder(GameFolder::Game::Installed, outer.pathOf(nested));
  ASSERT_GT(folder.path().size(), 100U) << utf8(folder.path());

  Kelvarin app(folder);
  ASSERT_NE(app.waitForWindow(), nullptr) << "the window did not appear";
  EXPECT_EQ(app.modeText(), kModeOff);
  app.click("lblSwitch");
  ASSERT_TRUE(app.waitForModeText(kModeOn));
  app.settle();
  EXPECT_EQ(folder.read(kMarker), kMarkerBytes);
  app.click("lblRun");
  ASSERT_TRUE(folder.waitForGameStarts(1)) << "the game was not started";
  EXPECT_EQ(folder.gameStarts(),
            std::vector<std::string>{"path=" + utf8(folder.pathOf(kGame)) +
                                     "|folder=" + utf8(folder.path()) + "|show=2|marker=1"});
  app.click("lblSwitch");
  ASSERT_TRUE(app.waitForModeText(kModeOff));
  app.settle();
  EXPECT_FALSE(folder.exists(kMarker));
  EXPECT_FALSE(app.hasMessageBox());
}

// A game beside the program's own file and one on the PATH are never what runs: only the
// current folder's.
TEST(FaultsWithDecoys, RunStartsOnlyTheCurrentFoldersGame) {
  const GameFolder programFolder(GameFolder::Game::Installed);
  programFolder.copyIn(kelvarinExe(), L"kelvarin.exe");
  const GameFolder onPath(GameFolder::Game::Installed);
  const GameFolder folder(GameFolder::Game::Installed);

  Kelvarin app(folder, programFolder.pathOf(L"kelvarin.exe"), onPath.path());
  ASSERT_NE(app.waitForWindow(), nullptr) << "the window did not appear";
  app.click("lblRun");
  ASSERT_TRUE(folder.waitForGameStarts(1)) << "the game was not started";
  app.settle();
  EXPECT_EQ(folder.gameStarts().size(), 1U);
  EXPECT_TRUE(programFolder.gameStarts().empty());
  EXPECT_TRUE(onPath.gameStarts().empty());
}

} // namespace
} // namespace kelvarin::e2e
