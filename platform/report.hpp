// The last resort for an error nothing expected: the box that tells the user, after which the
// caller ends the program.
#pragma once

#include "platform/error.hpp"
#include "platform/platform.hpp"

#include <string>
#include <string_view>

namespace kelvarin {

std::wstring unhandledErrorText(const Error& error);

void reportUnhandled(Platform& platform, const Error& error, std::wstring_view caption);

} // namespace kelvarin
