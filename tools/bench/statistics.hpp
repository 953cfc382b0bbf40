// The benchmarks' arithmetic, portable so the host tests check it: the median of a sample and a
// 95 % confidence interval for it that assumes nothing of the distribution, read off the
// sorted sample at ranks the binomial distribution sets.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace kelvarin::bench {

// 1-based ranks in the sorted sample.
struct Ranks {
  std::size_t lower;
  std::size_t upper;
};

// The ranks that bound the narrowest interval holding the median of `n` values with at least
// 95 % confidence; none below 6 values, where even the extremes hold it less surely.
std::optional<Ranks> medianIntervalRanks(std::size_t n);

struct Interval {
  double lower;
  double upper;

  double halfWidth() const { return (upper - lower) / 2; }
};

struct Estimate {
  double median; // the middle value, or the mean of the middle two; 0 for no values
  std::optional<Interval> interval;
};

Estimate estimateMedian(std::vector<double> values);

} // namespace kelvarin::bench
