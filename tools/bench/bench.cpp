// The benchmarks: kelvarin.exe against two baselines, in one run, figures printed.
//   start-up   process creation to the window visible, in pairs with each baseline (see
//              start_up.hpp): the median of the pairs' differences with its 95 % interval,
//              and the ratio of each program's median
//   memory     working set and private bytes once the window is up, and the ratios to the
//              empty window's
//   footprint  the exe's size, the picture bytes it carries, and their ratio
//   switch     a real click on the switch label to the marker created or gone, median
//   tooltips   the working set after those clicks, once pointing has loaded the tooltips
// Nothing is asserted: the numbers are for reading.
//
// bench.exe [SECONDS]: start-up is paired against each baseline for at most SECONDS (300).
#include "assets/picture_records.hpp"
#include "mode/texts.hpp"
#include "tools/bench/start_up.hpp"
#include "tools/bench/statistics.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/kelvarin.hpp"
#include "tools/driver/programs.hpp"
#include "tools/driver/usage.hpp"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>
#include <vector>

namespace {

using kelvarin::bench::Comparison;
using kelvarin::bench::estimateMedian;
using kelvarin::bench::nowMs;
using kelvarin::bench::Program;
using kelvarin::e2e::GameFolder;

constexpr std::size_t kRuns = 31;
constexpr double kDefaultCapSeconds = 300;

double median(const std::vector<double>& values) {
  return estimateMedian(values).median;
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

// The start-up against one baseline. The medians' ratio as before; the paired median says how
// far apart the two are, and its interval how surely.
void printStartUp(const char* baseline, const Comparison& comparison) {
  const double ours = median(comparison.ours.ms);
  const double least = median(comparison.baseline.ms);
  const std::size_t pairs = comparison.differences.size();
  std::printf("start-up, %-15s kelvarin %.1f ms, baseline %.1f ms (medians of %zu starts each), "
              "ratio %.2f\n",
              baseline, ours, least, pairs, ratio(ours, least));
  const kelvarin::bench::Estimate difference = estimateMedian(comparison.differences);
  std::printf("  paired difference       %+.1f ms", difference.median);
  if (!difference.interval) {
    std::printf(", no interval from %zu pairs\n", pairs);
  } else {
    const kelvarin::bench::Interval interval = *difference.interval;
    std::printf(", 95 %% interval %+.1f to %+.1f ms: %s: \u00b1%.1f ms after %zu pairs\n",
                interval.lower, interval.upper, comparison.resolved ? "resolved" : "not resolved",
                interval.halfWidth(), pairs);
  }
  std::fflush(stdout);
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
  for (std::size_t i = 0; i < kRuns * 2; ++i) {
    const bool wantMarker = !folder.exists(kelvarin::kMarkerFile);
    const double begin = nowMs();
    app.click("lblSwitch");
    while (folder.exists(kelvarin::kMarkerFile) != wantMarker && nowMs() - begin < 5000) {
      ::Sleep(0);
    }
    times.push_back(nowMs() - begin);
    app.settle();
  }
  const auto usage = kelvarin::e2e::usageOf(app.processId());
  return {median(times), static_cast<double>(usage.workingSet) / 1024.0};
}

int runBenchmarks(double capSeconds) {
  const GameFolder folder(GameFolder::Game::Installed);
  const Program kelvarin{"kelvarin.exe", kelvarin::e2e::kelvarinExe(), L"KelvarinMain"};
  const Program empty{"the empty window", kelvarin::e2e::windowsPath(KELVARIN_BASELINE_EXE),
                      L"KelvarinBaseline"};
  const Program sameFrame{"the same-frame window",
                          kelvarin::e2e::windowsPath(KELVARIN_SAME_FRAME_EXE),
                          L"KelvarinSameFrame"};
  const Comparison againstEmpty =
      kelvarin::bench::compareStartUp(kelvarin, empty, folder, capSeconds, kRuns);
  printStartUp("empty window", againstEmpty);
  printStartUp("same frame",
               kelvarin::bench::compareStartUp(kelvarin, sameFrame, folder, capSeconds, 0));

  const auto& ours = againstEmpty.ours;
  const auto& least = againstEmpty.baseline;
  const double leastWorkingSetKb = median(least.workingSetKb);
  std::printf("working set              kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              median(ours.workingSetKb), leastWorkingSetKb,
              ratio(median(ours.workingSetKb), leastWorkingSetKb));
  std::printf("private bytes            kelvarin %.0f KiB, baseline %.0f KiB, ratio %.2f\n",
              median(ours.privateKb), median(least.privateKb),
              ratio(median(ours.privateKb), median(least.privateKb)));

  std::size_t pictureBytes = 0;
  for (const kelvarin::assets::Record& record : kelvarin::assets::kRecords) {
    pictureBytes += record.bytes->size();
  }
  const double exeKb = fileKb(kelvarin.exe);
  const double picturesKb = static_cast<double>(pictureBytes) / 1024.0;
  std::printf("footprint                exe %.1f KiB, pictures carried %.1f KiB, ratio %.2f\n",
              exeKb, picturesKb, ratio(exeKb, picturesKb));
  const Switching switching = measureSwitching(folder);
  std::printf("switch (median of %zu)    click to marker on disk %.2f ms\n", kRuns * 2,
              switching.medianMs);
  std::printf("tooltips loaded          working set %.0f KiB, ratio %.2f\n", switching.workingSetKb,
              ratio(switching.workingSetKb, leastWorkingSetKb));
  return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  double capSeconds = kDefaultCapSeconds;
  if (argc > 1) {
    wchar_t* end = nullptr;
    capSeconds = std::wcstod(argv[1], &end);
    if (argc > 2 || end == argv[1] || *end != L'\0' || !(capSeconds > 0)) {
      std::fprintf(stderr, "usage: bench.exe [SECONDS], the time allowed against each baseline\n");
      return 2;
    }
  }
  try {
    return runBenchmarks(capSeconds);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "bench: %s\n", failure.what());
    return 1;
  }
}
