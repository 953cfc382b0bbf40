// A long run of switches through the real program with the real mouse: the mode, the marker
// and the program's use of handles and memory must come out as they went in. It takes minutes,
// so a test run holds it once, in one prefix.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tools/driver/usage.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

namespace kelvarin::e2e {
namespace {

using expected::kMarker;
using expected::kModeOff;
using expected::kModeOn;

using Soak = InGameFolder;

std::string describe(const ProcessUsage& usage) {
  return "handles " + std::to_string(usage.handles) + ", working set " +
         std::to_string(usage.workingSet / 1024) + " KB, virtual " +
         std::to_string(usage.virtualSize / 1024) + " KB, private " +
         std::to_string(usage.privateBytes / 1024) + " KB";
}

struct GuiObjects {
  DWORD gdi = 0;
  DWORD user = 0;
};

GuiObjects guiObjectsOf(DWORD processId) {
  const win32::UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  EXPECT_TRUE(process) << "OpenProcess: " << ::GetLastError();
  if (!process) {
    return {};
  }
  return {::GetGuiResources(process.get(), GR_GDIOBJECTS),
          ::GetGuiResources(process.get(), GR_USEROBJECTS)};
}

// Each switch is waited for through the mode text.
TEST_F(Soak, ThousandsOfSwitchesLeaveNothingBehind) {
  constexpr int kWarmUp = 20;
  constexpr int kSwitches = 10000;
  ASSERT_NO_FATAL_FAILURE(start());
  const auto flip = [&](int i) {
    app_->click("lblSwitch");
    return app_->waitForModeText(i % 2 == 0 ? kModeOn : kModeOff);
  };
  for (int i = 0; i < kWarmUp; ++i) {
    ASSERT_TRUE(flip(i)) << "switch " << i;
  }
  app_->settle();
  const ProcessUsage before = usageOf(app_->processId());
  const GuiObjects objectsBefore = guiObjectsOf(app_->processId());
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kSwitches; ++i) {
    ASSERT_TRUE(flip(i)) << "switch " << kWarmUp + i;
  }
  const auto took = std::chrono::steady_clock::now() - started;
  app_->settle();
  const ProcessUsage after = usageOf(app_->processId());
  std::cout << kSwitches << " switches in "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n"
            << "before: " << describe(before) << "\nafter:  " << describe(after) << '\n';

  EXPECT_EQ(app_->modeText(), kModeOff);
  EXPECT_FALSE(folder_.exists(kMarker));
  EXPECT_FALSE(app_->hasMessageBox());
  EXPECT_LE(after.handles, before.handles + 4);
  EXPECT_LE(after.privateBytes, before.privateBytes + 1024 * 1024);
  EXPECT_LE(after.workingSet, before.workingSet + 1024 * 1024);

  const GuiObjects objectsAfter = guiObjectsOf(app_->processId());
  if (objectsBefore.gdi == 0 && objectsBefore.user == 0) {
    // Wine answers 0: there, a leak of them shows only as it grows the memory figures above.
    std::cout << "GDI and USER objects: this system does not count them for another process "
                 "(Wine answers 0), so they are not checked\n";
  } else {
    std::cout << "GDI objects " << objectsBefore.gdi << " -> " << objectsAfter.gdi
              << ", USER objects " << objectsBefore.user << " -> " << objectsAfter.user << '\n';
    EXPECT_LE(objectsAfter.gdi, objectsBefore.gdi + 2);
    EXPECT_LE(objectsAfter.user, objectsBefore.user + 2);
  }
}

} // namespace
} // namespace kelvarin::e2e
