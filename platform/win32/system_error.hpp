// Turns a Win32 error number into an Error carrying the system's own description.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

#include <string>

namespace kelvarin::win32 {

std::wstring systemMessage(DWORD code);

Error systemError(DWORD code);

// The error of the call that just failed (GetLastError).
Error lastError();

// Success if `ok`, else the error of the call that just failed.
inline Status check(bool ok) {
  return ok ? Status{} : Status{lastError()};
}

} // namespace kelvarin::win32
