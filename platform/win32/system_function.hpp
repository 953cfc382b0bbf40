// System DLLs the program loads only when it first needs them, and functions that older
// Windows versions lack, looked up at run time so the program still starts there.
#pragma once

#include "platform/win32/handles.hpp"

#include <windows.h>

namespace kelvarin::win32 {

// Null where the module or the function is missing.
template <typename Function> Function moduleFunction(HMODULE module, const char* name) noexcept {
  return module == nullptr
             ? nullptr
             : reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// From a DLL the program has loaded already.
template <typename Function>
Function systemFunction(const wchar_t* module, const char* name) noexcept {
  return moduleFunction<Function>(::GetModuleHandleW(module), name);
}

// Loads a DLL from the system directory only, never from the game's folder. Null, with the
// last error set, where that fails.
UniqueModule loadSystemModule(const wchar_t* name) noexcept;

} // namespace kelvarin::win32
