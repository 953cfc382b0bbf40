// A function of a system DLL that older Windows versions lack, looked up at run time so the
// program still starts there. Null where the system has none.
#pragma once

#include <windows.h>

namespace kelvarin::win32 {

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

} // namespace kelvarin::win32
