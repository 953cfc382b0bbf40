// Whole files written at once.
#include "tools/driver/files.hpp"

#include "platform/win32/handles.hpp"
#include "tools/driver/failure.hpp"

#include <windows.h>

namespace kelvarin::e2e {

void writeFile(const std::wstring& path, std::string_view bytes) {
  const win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    fail("CreateFileW");
  }
  DWORD written = 0;
  if (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ==
          0 ||
      written != bytes.size()) {
    fail("WriteFile");
  }
}

} // namespace kelvarin::e2e
