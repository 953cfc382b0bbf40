#include "platform/text.hpp"

#include "platform/error.hpp"

#include <algorithm>
#include <cwctype>
#include <string>

namespace kelvarin {

namespace {

constexpr std::wstring_view kTrue = L"True";
constexpr std::wstring_view kFalse = L"False";

// The number the system uses for "the data is invalid" (ERROR_INVALID_DATA).
constexpr unsigned long kInvalidData = 13;

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) {
    return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
  });
}

} // namespace

std::wstring_view boolToText(bool value) noexcept {
  return value ? kTrue : kFalse;
}

bool textToBool(std::wstring_view text) {
  if (equalsIgnoringCase(text, kTrue)) {
    return true;
  }
  if (equalsIgnoringCase(text, kFalse)) {
    return false;
  }
  throw Error(kInvalidData, L"\"" + std::wstring(text) + L"\" is not a Boolean.");
}

} // namespace kelvarin
