// Narrows the DLL search to the system directory, as far as the running Windows allows.
#include "platform/win32/dll_search.hpp"

#include "platform/win32/system_function.hpp"

namespace kelvarin::win32 {

void restrictDllSearch() noexcept {
  ::SetDllDirectoryW(L"");
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories =
      systemFunction<SetDefaultDllDirectoriesFunction>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDllDirectories != nullptr) {
    constexpr DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    setDefaultDllDirectories(kSearchSystem32);
  }
}

} // namespace kelvarin::win32
