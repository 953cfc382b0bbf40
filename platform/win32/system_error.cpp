// The system's own description of an error number, trimmed for a message box.
#include "platform/win32/system_error.hpp"

#include "platform/text.hpp"
#include "platform/win32/handles.hpp"

namespace kelvarin::win32 {

std::wstring systemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocal owner(buffer);
  if (length == 0) {
    return L"Error " + decimal(code) + L".";
  }
  std::wstring text(buffer, length);
  // The system's texts end in a line break that would only pad the message box.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text;
}

Error systemError(DWORD code) {
  return Error{code, systemMessage(code)};
}

Error lastError() {
  return systemError(::GetLastError());
}

} // namespace kelvarin::win32
