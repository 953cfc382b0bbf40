// Text between UTF-8 and the UTF-16 of the system.
#include "tools/driver/text.hpp"

#include "tools/driver/failure.hpp"

#include <windows.h>

namespace kelvarin::e2e {

std::string utf8(std::wstring_view text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    fail("WideCharToMultiByte");
  }
  std::string out(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr) != size) {
    fail("WideCharToMultiByte");
  }
  return out;
}

std::wstring wide(std::string_view text) {
  const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) {
    fail("MultiByteToWideChar");
  }
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                            static_cast<int>(text.size()), out.data(), size) != size) {
    fail("MultiByteToWideChar");
  }
  return out;
}

} // namespace kelvarin::e2e
