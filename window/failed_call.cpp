// The error of a call that sets no last error.
#include "window/failed_call.hpp"

#include <string>

namespace kelvarin::win32 {

Error failedCall(std::wstring_view call) {
  return Error{ERROR_CAN_NOT_COMPLETE, std::wstring(call) + L" failed."};
}

Status checkCall(bool ok, std::wstring_view call) {
  return ok ? Status{} : Status{failedCall(call)};
}

} // namespace kelvarin::win32
