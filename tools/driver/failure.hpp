// How the harness fails: by throwing, with what the system said. What the program does is
// for the tests to judge.
#pragma once

#include <windows.h>

#include <system_error>

namespace kelvarin::e2e {

// Throws the calling thread's last error, naming the call that failed.
[[noreturn]] inline void fail(const char* call) {
  const DWORD code = ::GetLastError();
  throw std::system_error(static_cast<int>(code), std::system_category(), call);
}

} // namespace kelvarin::e2e
