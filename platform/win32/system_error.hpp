// Turns a Win32 error number into an Error carrying the system's own description.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

#include <string>

namespace kelvarin::win32 {

std::wstring systemMessage(DWORD code);

// The error of the call that just failed (GetLastError).
Error lastError();

// Throws lastError() unless `ok`.
inline void check(bool ok) {
  if (!ok) {
    throw lastError();
  }
}

} // namespace kelvarin::win32
