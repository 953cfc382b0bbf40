// Keeps DLLs out of the game folder and the program's own folder from being loaded.
#pragma once

namespace kelvarin::win32 {

// Limits the DLL search to the system directory. Windows before 7 with KB2533623 lacks the
// call for that, so it is looked up at run time; there the current directory is still taken
// out of the search. Failing that, nothing is lost but the protection.
void restrictDllSearch() noexcept;

} // namespace kelvarin::win32
