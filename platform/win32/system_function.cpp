// Loads a system DLL by its full path in the system directory, never through the DLL search.
#include "platform/win32/system_function.hpp"

namespace kelvarin::win32 {

UniqueModule loadSystemModule(const wchar_t* name) noexcept {
  wchar_t path[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + static_cast<UINT>(::lstrlenW(name)) >= MAX_PATH) {
    if (length != 0) {
      ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    }
    return UniqueModule();
  }
  path[length] = L'\\';
  ::lstrcpyW(path + length + 1, name);
  return UniqueModule(::LoadLibraryW(path));
}

} // namespace kelvarin::win32
