// The C++ runtime's failure paths in a program built without exceptions. The library would
// throw for running out of memory, and otherwise only where the program itself went wrong: a
// size past any real use, or an index or position out of range. Either way the program tells
// the user which it was and ends, as its unhandled-error report does. Defining them here keeps
// the library's exception machinery, about half the program's size, out of the exe.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void fatal(const wchar_t* text) noexcept {
  ::MessageBoxW(nullptr, text, L"Kelvarin", MB_OK | MB_ICONERROR);
  ::ExitProcess(3);
}

[[noreturn]] void outOfMemory() noexcept {
  fatal(L"Kelvarin ran out of memory and will now end.");
}

[[noreturn]] void internalError() noexcept {
  fatal(L"Kelvarin met an internal error and will now end.");
}

} // namespace

void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  outOfMemory();
}

void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace std {
void __throw_bad_alloc() {
  outOfMemory();
}
// A negative or overflowing length for new[]: the program's fault, not the memory's.
void __throw_bad_array_new_length() {
  internalError();
}
void __throw_length_error(const char*) {
  internalError();
}
void __throw_logic_error(const char*) {
  internalError();
}
void __throw_out_of_range_fmt(const char*, ...) {
  internalError();
}
} // namespace std
