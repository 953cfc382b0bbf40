// The text form of a Boolean, and back.
#pragma once

#include <string_view>

namespace kelvarin {

std::wstring_view boolToText(bool value) noexcept;

// Accepts what boolToText gives, in any letter case; throws Error for any other text.
bool textToBool(std::wstring_view text);

} // namespace kelvarin
