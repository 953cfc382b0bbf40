// Start-up timed in pairs: kelvarin.exe and a baseline started back to back, the order turning
// each pair, until the median of the pairs' differences is known to within a millisecond or
// the time allowed has run out.
#pragma once

#include "tools/driver/game_folder.hpp"

#include <string>
#include <vector>

namespace kelvarin::bench {

struct Program {
  const char* name; // for messages
  std::wstring exe;
  const wchar_t* className; // of its main window, which the timing waits for
};

// What one program's starts gave: every start's time to its window visible; the memory once the
// window is up, from the first pairs only, since reading it holds up the next start.
struct Starts {
  std::vector<double> ms;
  std::vector<double> workingSetKb;
  std::vector<double> privateKb;
};

struct Comparison {
  Starts ours;
  Starts baseline;
  std::vector<double> differences; // ours minus the baseline's, a pair each
  bool resolved = false;           // the 95 % interval is within the resolution asked for
};

// The performance counter, in milliseconds.
double nowMs();

inline constexpr double kResolutionMs = 1.0;
// No fewer pairs than this, however narrow the interval looks before: an interval from a handful
// of lucky pairs would end the run early.
inline constexpr std::size_t kLeastPairs = 31;

// Throws if a program cannot start, shows no window, or ends other than cleanly.
Comparison compareStartUp(const Program& ours, const Program& baseline,
                          const e2e::GameFolder& folder, double capSeconds,
                          std::size_t memoryPairs);

} // namespace kelvarin::bench
