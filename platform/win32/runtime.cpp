// The C++ runtime's failure paths in a program built without exceptions. The library would
// throw only for running out of memory or for sizes past any real use; either way the program
// tells the user and ends, as its unhandled-error report does. Defining them here keeps the
// library's exception machinery, about half the program's size, out of the exe.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void fatal() noexcept {
  ::MessageBoxW(nullptr, L"Kelvarin ran out of memory and will now end.", L"Kelvarin",
                MB_OK | MB_ICONERROR);
  ::ExitProcess(3);
}

} // namespace

void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  fatal();
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
  fatal();
}
void __throw_bad_array_new_length() {
  fatal();
}
void __throw_length_error(const char*) {
  fatal();
}
void __throw_logic_error(const char*) {
  fatal();
}
void __throw_out_of_range_fmt(const char*, ...) {
  fatal();
}
} // namespace std
