// Conversions between texts and values, without the C library's locale-laden formatting.
#pragma once

#include "platform/error.hpp"

#include <string>
#include <string_view>

namespace kelvarin {

std::wstring_view boolToText(bool value) noexcept;

// Accepts what boolToText gives, in any letter case; any other text is an error.
Status textToBool(std::wstring_view text, bool& value);

std::wstring decimal(unsigned long value);

} // namespace kelvarin
