// The benchmarks' median and its confidence interval, against binomial tables worked by hand.
#include "tools/bench/statistics.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvarin::bench {
namespace {

TEST(Statistics, IntervalRanksHoldTheMedianWithAtLeast95PerCent) {
  // Five values: all on one side of the median has a chance of 2/32, more than 5 %.
  EXPECT_FALSE(medianIntervalRanks(5));
  for (const auto& [n, lower, upper] : {std::tuple<std::size_t, std::size_t, std::size_t>{6, 1, 6},
                                        {10, 2, 9},
                                        {31, 10, 22},
                                        {151, 63, 89},
                                        {600, 276, 325}}) {
    const auto ranks = medianIntervalRanks(n);
    ASSERT_TRUE(ranks) << n;
    EXPECT_EQ(ranks->lower, lower) << n;
    EXPECT_EQ(ranks->upper, upper) << n;
  }
}

TEST(Statistics, MedianOfOddAndEvenCountsAndItsIntervalFromTheSortedValues) {
  EXPECT_EQ(estimateMedian({}).median, 0.0);
  const Estimate odd = estimateMedian({3.0, -1.0, 2.0});
  EXPECT_EQ(odd.median, 2.0);
  EXPECT_FALSE(odd.interval);
  const Estimate even = estimateMedian({9.0, 4.0, 1.0, 10.0, 3.0, 2.0, 8.0, 7.0, 6.0, 5.0});
  EXPECT_EQ(even.median, 5.5);
  ASSERT_TRUE(even.interval);
  EXPECT_EQ(even.interval->lower, 2.0);
  EXPECT_EQ(even.interval->upper, 9.0);
  EXPECT_EQ(even.interval->halfWidth(), 3.5);
}

} // namespace
} // namespace kelvarin::bench
