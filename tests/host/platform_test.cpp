// The portable platform pieces: Boolean texts and the unhandled-error report.
#include "platform/error.hpp"
#include "platform/posix/posix_platform.hpp"
#include "platform/report.hpp"
#include "platform/text.hpp"

#include <gtest/gtest.h>

namespace kelvarin {
namespace {

TEST(BooleanText, RoundTripsAndRejectsOtherTexts) {
  EXPECT_TRUE(textToBool(boolToText(true)));
  EXPECT_FALSE(textToBool(boolToText(false)));
  EXPECT_TRUE(textToBool(L"TRUE"));
  EXPECT_THROW(textToBool(L""), Error);
  EXPECT_THROW(textToBool(L"Truer"), Error);
}

TEST(UnhandledError, GivesNumberAndDescriptionThenEnds) {
  posix::PosixPlatform platform;
  reportUnhandled(platform, Error(5, L"Access is denied."), L"Kelvarin");
  ASSERT_EQ(platform.messages().size(), 1U);
  EXPECT_NE(platform.messages()[0].text.find(L"5"), std::wstring::npos);
  EXPECT_NE(platform.messages()[0].text.find(L"Access is denied."), std::wstring::npos);
  EXPECT_EQ(platform.messages()[0].caption, L"Kelvarin");
  EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Error);
  EXPECT_TRUE(platform.ended());
}

} // namespace
} // namespace kelvarin
