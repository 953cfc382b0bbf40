// The program's own icons and cursors, as the system makes them from resource bits.
#include "window/built_in_pictures.hpp"

namespace kelvarin::win32 {

namespace {

// The resource format CreateIconFromResourceEx is told the bits are in.
constexpr DWORD kIconResourceVersion = 0x00030000;

} // namespace

Error damagedPictures() {
  return Error{ERROR_INVALID_DATA, L"The program's built-in pictures are damaged."};
}

HICON iconFromResource(std::span<const std::uint8_t> resource, bool icon, int width, int height) {
  return ::CreateIconFromResourceEx(const_cast<BYTE*>(resource.data()),
                                    static_cast<DWORD>(resource.size()), icon ? TRUE : FALSE,
                                    kIconResourceVersion, width, height, LR_DEFAULTCOLOR);
}

} // namespace kelvarin::win32
