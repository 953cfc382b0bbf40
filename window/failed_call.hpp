// The error of a Windows call whose documentation promises no last error, such as GDI's drawing
// calls: it names the call, and borrows no code from whatever failed before it.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

#include <string_view>

namespace kelvarin::win32 {

Error failedCall(std::wstring_view call);

// Success if `ok`, else the failure of `call`.
Status checkCall(bool ok, std::wstring_view call);

} // namespace kelvarin::win32
