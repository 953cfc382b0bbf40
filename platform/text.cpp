// The mode's Boolean texts ("True" and "False", read in any case) and decimal numbers.
#include "platform/text.hpp"

#include <algorithm>
#include <cwctype>

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

Status textToBool(std::wstring_view text, bool& value) {
  for (const bool candidate : {true, false}) {
    if (equalsIgnoringCase(text, boolToText(candidate))) {
      value = candidate;
      return {};
    }
  }
  return Error{kInvalidData, L"\"" + std::wstring(text) + L"\" is not a Boolean."};
}

std::wstring decimal(unsigned long value) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

} // namespace kelvarin
