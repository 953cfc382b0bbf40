// Switching on when the disk is full: no marker may be left behind, half-written or empty.
// Run by full_disk.sh, which mounts a file system of a few KB and names it in
// KELVARIN_FULL_DISK_DIR, or says in KELVARIN_FULL_DISK_SKIP why it could not.
#include "tests/wine/expected.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/kelvarin.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/text.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kelvarin::e2e {
namespace {

// Writes until the disk refuses, so that no further byte fits.
void fill(const GameFolder& folder) {
  const win32::UniqueFile file(::CreateFileW(folder.pathOf(L"filler").c_str(), GENERIC_WRITE, 0,
                                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << "CreateFileW: " << ::GetLastError();
  const std::string chunk(512, 'x');
  DWORD written = 0;
  while (::WriteFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &written,
                     nullptr) != 0 &&
         written == chunk.size()) {
  }
  ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
}

TEST(FullDisk, SwitchingOnLeavesNoMarkerAndSaysWhy) {
  if (const char* reason = std::getenv("KELVARIN_FULL_DISK_SKIP")) {
    GTEST_SKIP() << reason;
  }
  const char* disk = std::getenv("KELVARIN_FULL_DISK_DIR");
  if (disk == nullptr) {
    GTEST_SKIP() << "KELVARIN_FULL_DISK_DIR not set: run through full_disk.sh";
  }
  // The stand-in game would not fit: the start-up check only opens the file.
  const GameFolder folder(GameFolder::Game::Missing, windowsPath(disk));
  folder.write(expected::kGame, "MZ");
  ASSERT_NO_FATAL_FAILURE(fill(folder));

  Kelvarin app(folder);
  ASSERT_NE(app.waitForWindow(), nullptr) << "the window did not appear";
  app.click("lblSwitch");
  const auto box = app.waitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->caption, expected::kCaption);
  EXPECT_TRUE(box->hasIcon);
  EXPECT_NE(box->text.find(expected::kCannotWrite + L"\n\n"), std::wstring::npos)
      << utf8(box->text);
  app.pressOk(*box);
  app.settle();
  EXPECT_TRUE(app.running());
  EXPECT_EQ(app.modeText(), expected::kModeOff);
  EXPECT_FALSE(folder.exists(expected::kMarker));
}

} // namespace
} // namespace kelvarin::e2e
