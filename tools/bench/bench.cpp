// The benchmarks: kelvarin.exe against the baseline window, in one run, figures printed.
//   start-up   process creation to the window visible, median of 21 runs each, and the ratio
//   memory     working set and private bytes once the window is up, and the ratios
//   footprint  the exe's size, the picture bytes it carries, and their ratio
//   switch     a real click on the switch label to the marker created or gone, median
// Nothing is asserted: the numbers are for reading.
#include "assets/pictures.hpp"
#include "tests/wine/driver.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using kelvarin::e2e::GameFolder;
using kelvarin::e2e::windowsPath;

constexpr int kRuns = 21;

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
  WindowOf wanted{started.dwProcessId, className};
  while (wanted.found == nullptr && now() - begin < 10000) {
    ::EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&wanted));
    if (wanted.found == nullptr) {
      ::Sleep(0);
    }
  }
  run.startMs = now() - begin;
  ::Sleep(100); // let it finish its first paint before reading its memory
  // GetProcessMemoryInfo gives nothing for another process under Wine; this works on both.
  const kelvarin::e2e::ProcessUsage usage = kelvarin::e2e::usageOf(started.dwProcessId);
  run.workingSet = usage.workingSet;
  run.privateBytes = usage.privateBytes;
  ::PostMessageW(wanted.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(started.hProcess, 5000) != WAIT_OBJECT_0) {
    ::TerminateProcess(started.hProcess, 1);
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return run;
}

struct Summary {
  double startMs;
  double workingSetKb;
  double privateKb;
};

Summary measure(const std::wstring& exe, const wchar_t* className, const GameFolder& folder) {
  std::vector<double> starts;
  std::vector<double> workingSets;
  std::vector<double> privates;
  for (int i = 0; i < kRuns; ++i) {
    const Run run = startOnce(exe, className, folder);
    starts.push_back(run.startMs);
    workingSets.push_back(static_cast<double>(run.workingSet) / 1024.0);
    privates.push_back(static_cast<double>(run.privateBytes) / 1024.0);
  }
  return {median(starts), median(workingSets), median(privates)};
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

double switchMedian(const GameFolder& folder) {
  kelvarin::e2e::Kelvarin app(folder);
  if (app.waitForWindow() == nullptr) {
    return 0.0;
  }
  std::vector<double> times;
  for (int i = 0; i < kRuns * 2; ++i) {
    const bool wantMarker = !folder.exists(L"fun.mode.on");
    const double begin = now();
    app.click("lblSwitch");
    while (folder.exists(L"fun.mode.on") != wantMarker && now() - begin < 5000) {
      ::Sleep(0);
    }
    times.push_back(now() - begin);
    app.settle();
  }
  return median(times);
}

} // namespace

int wmain() {
  const std::wstring kelvarin = windowsPath(KELVARIN_EXE);
  const std::wstring baseline = windowsPath(KELVARIN_BASELINE_EXE);
  const GameFolder folder(GameFolder::Game::Installed);

  measure(kelvarin, L"KelvarinMain", folder); // warm Wine's caches for both
  const Summary ours = measure(kelvarin, L"KelvarinMain", folder);
  const Summary least = measure(baseline, L"KelvarinBaseline", folder);

  std::size_t pictureBytes = 0;
  for (const auto* record :
       {&kelvarin::assets::frmMainPicture, &kelvarin::assets::frmMainIcon,
        &kelvarin::assets::cmdSwitchPicture, &kelvarin::assets::cmdExitPicture,
        &kelvarin::assets::imgRunPicture, &kelvarin::assets::lblSwitchMouseIcon,
        &kelvarin::assets::lblRunMouseIcon, &kelvarin::assets::lblExitMouseIcon}) {
    pictureBytes += record->size();
  }
  const double exeKb = fileKb(kelvarin);
  const double picturesKb = static_cast<double>(pictureBytes) / 1024.0;

  std::printf("start-up (median of %d)   kelvarin %.1f ms, baseline %.1f ms, ratio %.2f\n", kRuns,
              ours.startMs, least.startMs, ratio(ours.startMs, least.startMs));
  std::printf("working set              kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              ours.workingSetKb, least.workingSetKb, ratio(ours.workingSetKb, least.workingSetKb));
  std::printf("private bytes            kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              ours.privateKb, least.privateKb, ratio(ours.privateKb, least.privateKb));
  std::printf("footprint                exe %.1f KiB, pictures carried %.1f KiB, ratio %.2f\n",
              exeKb, picturesKb, ratio(exeKb, picturesKb));
  std::printf("switch (median of %d)    click to marker on disk %.2f ms\n", kRuns * 2,
              switchMedian(folder));
  return 0;
}
