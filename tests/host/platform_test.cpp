// The portable platform pieces: Boolean texts, steps run in order, and decimal numbers.
#include "platform/error.hpp"
#include "platform/text.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace kelvarin {
namespace {

TEST(BooleanText, RoundTripsAndRejectsOtherTexts) {
  for (const bool value : {true, false}) {
    bool read = !value;
    EXPECT_TRUE(textToBool(boolToText(value), read).ok());
    EXPECT_EQ(read, value);
  }
  bool read = false;
  EXPECT_TRUE(textToBool(L"TRUE", read).ok());
  EXPECT_TRUE(read);
  for (const std::wstring_view other : {L"", L"Truer", L"1"}) {
    const Status status = textToBool(other, read);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().description.find(other), std::wstring::npos);
  }
}

TEST(InOrder, StopsAtTheFirstFailureAndReturnsIt) {
  std::vector<int> ran;
  const auto step = [&](int n, Status outcome) {
    return [&ran, n, outcome] {
      ran.push_back(n);
      return outcome;
    };
  };
  EXPECT_TRUE(inOrder(step(1, {}), step(2, {})).ok());
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));

  ran.clear();
  const Status status =
      inOrder(step(1, {}), step(2, Error{5, L"second"}), step(3, Error{6, L"third"}), step(4, {}));
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().code, 5U);
  EXPECT_EQ(ran, (std::vector<int>{1, 2})) << "no step after the failure runs";
}

TEST(Decimal, WritesEveryDigit) {
  EXPECT_EQ(decimal(0), L"0");
  EXPECT_EQ(decimal(1392), L"1392");
  EXPECT_EQ(decimal(4294967295UL), L"4294967295");
}

} // namespace
} // namespace kelvarin
