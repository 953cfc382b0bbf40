// Text between UTF-8 and the UTF-16 of the system.
#pragma once

#include <string>
#include <string_view>

namespace kelvarin::e2e {

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view text);

} // namespace kelvarin::e2e
