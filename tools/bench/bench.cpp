// The benchmarks: kelvarin.exe against the baseline window, in one run, figures printed.
//   start-up   process creation to the window visible, median of 31 runs each, the two
//              programs taking turns, the ratio and the difference
//   memory     working set and private bytes once the window is up, and the ratios
//   footprint  the exe's size, the picture bytes it carries, and their ratio
//   switch     a real click on the switch label to the marker created or gone, median
//   tooltips   the working set after those clicks, once pointing has loaded the tooltips
// Nothing is asserted: the numbers are for reading.
#include "assets/picture_records.hpp"
#include "mode/texts.hpp"
#include "platform/win32/handles.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/kelvarin.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/usage.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using kelvarin::e2e::GameFolder;
using kelvarin::e2e::kelvarinExe;
using kelvarin::e2e::windowsPath;

constexpr int kRuns = 31;

double now() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

struct WindowOf {
  DWORD process;
  const wchar_t* className;
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
  auto* wanted = reinterpret_cast<WindowOf*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (owner == wanted->process && ::IsWindowVisible(window) != 0 &&
      ::lstrcmpW(name, wanted->className) == 0) {
    wanted->found = window;
    return FALSE;
  }
  return TRUE;
}

struct Run {
  double startMs = 0;
  SIZE_T workingSet = 0;
  SIZE_T privateBytes = 0;
};

// Starts the program in the folder, times it to its visible window, reads its memory, closes it.
Run startOnce(const std::wstring& exe, const wchar_t* className, const GameFolder& folder) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  Run run;
  const double begin = now();
  if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.path().c_str(), &startup, &started) == 0) {
    std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
    return run;
  }
  const kelvarin::win32::UniqueHandle process(started.hProcess);
  const kelvarin::win32::UniqueHandle thread(started.hThread);
  WindowOf wanted{started.dwProcessId, className};
  while (wanted.found == nullptr && now() - begin < 10000) {
    ::EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&wanted));
    if (wanted.found == nullptr) {
      ::Sleep(1); // a busy poll would take the processor from the program it waits for
    }
  }
  run.startMs = now() - begin;
  ::Sleep(100); // let it finish its first paint before reading its memory
  // GetProcessMemoryInfo gives nothing for another process under Wine; this works on both.
  const kelvarin::e2e::ProcessUsage usage = kelvarin::e2e::usageOf(started.dwProcessId);
  run.workingSet = usage.workingSet;
  run.privateBytes = usage.privateBytes;
  ::PostMessageW(wanted.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1);
  }
  return run;
}

struct Summary {
  double startMs;
  double workingSetKb;
  double privateKb;
};

struct Program {
  std::wstring exe;
  const wchar_t* className;
  std::vector<double> starts = {};
  std::vector<double> workingSets = {};
  std::vector<double> privates = {};

  void measureOnce(const GameFolder& folder) {
    const Run run = startOnce(exe, className, folder);
    starts.push_back(run.startMs);
    workingSets.push_back(static_cast<double>(run.workingSet) / 1024.0);
    privates.push_back(static_cast<double>(run.privateBytes) / 1024.0);
  }
  Summary summary() const { return {median(starts), median(workingSets), median(privates)}; }
};

// The two programs take turns, so a machine that slows down or speeds up during the run
// weighs on both alike; one start of each first warms Wine's caches.
void measureInTurns(Program& ours, Program& least, const GameFolder& folder) {
  startOnce(ours.exe, ours.className, folder);
  startOnce(least.exe, least.className, folder);
  for (int i = 0; i < kRuns; ++i) {
    ours.measureOnce(folder);
    least.measureOnce(folder);
  }
}

double ratio(double a, double b) {
  return b > 0 ? a / b : 0.0;
}

double fileKb(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0
             ? static_cast<double>(data.nFileSizeLow) / 1024.0
             : 0.0;
}

struct Switching {
  double medianMs = 0;
  double workingSetKb = 0; // afterwards, with the tooltips loaded by pointing at a label
};

Switching measureSwitching(const GameFolder& folder) {
  kelvarin::e2e::Kelvarin app(folder);
  if (app.waitForWindow() == nullptr) {
    return {};
  }
  std::vector<double> times;
  for (int i = 0; i < kRuns * 2; ++i) {
    const bool wantMarker = !folder.exists(kelvarin::kMarkerFile);
    const double begin = now();
    app.click("lblSwitch");
    while (folder.exists(kelvarin::kMarkerFile) != wantMarker && now() - begin < 5000) {
      ::Sleep(0);
    }
    times.push_back(now() - begin);
    app.settle();
  }
  const auto usage = kelvarin::e2e::usageOf(app.processId());
  return {median(times), static_cast<double>(usage.workingSet) / 1024.0};
}

} // namespace

int wmain() {
  const GameFolder folder(GameFolder::Game::Installed);
  Program kelvarin{kelvarinExe(), L"KelvarinMain"};
  Program baseline{windowsPath(KELVARIN_BASELINE_EXE), L"KelvarinBaseline"};
  measureInTurns(kelvarin, baseline, folder);
  const Summary ours = kelvarin.summary();
  const Summary least = baseline.summary();

  std::size_t pictureBytes = 0;
  for (const kelvarin::assets::Record& record : kelvarin::assets::kRecords) {
    pictureBytes += record.bytes->size();
  }
  const double exeKb = fileKb(kelvarin.exe);
  const double picturesKb = static_cast<double>(pictureBytes) / 1024.0;

  // The difference too: Wine's own process start weighs on both and hides ours in the ratio,
  // where Windows starts an empty window in a few tens of milliseconds.
  std::printf(
      "start-up (median of %d)   kelvarin %.1f ms, baseline %.1f ms, ratio %.2f, %+.1f ms\n", kRuns,
      ours.startMs, least.startMs, ratio(ours.startMs, least.startMs),
      ours.startMs - least.startMs);
  std::printf("working set              kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              ours.workingSetKb, least.workingSetKb, ratio(ours.workingSetKb, least.workingSetKb));
  std::printf("private bytes            kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              ours.privateKb, least.privateKb, ratio(ours.privateKb, least.privateKb));
  std::printf("footprint                exe %.1f KiB, pictures carried %.1f KiB, ratio %.2f\n",
              exeKb, picturesKb, ratio(exeKb, picturesKb));
  const Switching switching = measureSwitching(folder);
  std::printf("switch (median of %d)    click to marker on disk %.2f ms\n", kRuns * 2,
              switching.medianMs);
  std::printf("tooltips loaded          working set %.0f KiB, ratio %.2f\n", switching.workingSetKb,
              ratio(switching.workingSetKb, least.workingSetKb));
  return 0;
}
