// The median and its order-statistic interval.
#include "tools/bench/statistics.hpp"

#include <algorithm>
#include <cmath>

namespace kelvarin::bench {

namespace {

constexpr double kOutsideEachEnd = 0.025; // 95 % in all

// The chance that exactly `j` of `n` values lie below the median: binomial with p = 1/2, in
// logarithms, since 2^-n underflows a double from about a thousand values on.
double belowMedianExactly(std::size_t j, std::size_t n) {
  const double all = static_cast<double>(n);
  const double some = static_cast<double>(j);
  return std::exp(std::lgamma(all + 1) - std::lgamma(some + 1) - std::lgamma(all - some + 1) +
                  all * std::log(0.5));
}

} // namespace

// The interval from the k-th smallest to the k-th largest value misses the median when fewer
// than k values lie on one side of it: k is the largest rank whose chance of that, on each
// side, stays within 2.5 %.
std::optional<Ranks> medianIntervalRanks(std::size_t n) {
  std::size_t k = 0;
  double fewerBelow = 0;
  while (k < n) {
    fewerBelow += belowMedianExactly(k, n);
    if (fewerBelow > kOutsideEachEnd) {
      break;
    }
    ++k;
  }
  if (k == 0) {
    return std::nullopt;
  }
  return Ranks{k, n + 1 - k};
}

Estimate estimateMedian(std::vector<double> values) {
  if (values.empty()) {
    return {0.0, std::nullopt};
  }
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  Estimate estimate{(values[(n - 1) / 2] + values[n / 2]) / 2, std::nullopt};
  if (const std::optional<Ranks> ranks = medianIntervalRanks(n)) {
    estimate.interval = Interval{values[ranks->lower - 1], values[ranks->upper - 1]};
  }
  return estimate;
}

} // namespace kelvarin::bench
