#include "platform/win32/dll_search.hpp"

#include <windows.h>

namespace kelvarin::win32 {

void restrictDllSearch() noexcept {
  ::SetDllDirectoryW(L"");
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) {
    return;
  }
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories != nullptr) {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    setDefaultDllDirectories(kSearchSystem32);
  }
}

} // namespace kelvarin::win32
