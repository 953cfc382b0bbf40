// Icons and cursors made from the program's own picture records, and the error where those are
// damaged.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

#include <cstdint>
#include <span>

namespace kelvarin::win32 {

// Where the program's own pictures fail to decode: nothing the user can mend, but no crash.
Error damagedPictures();

// An icon (or, for `icon` false, a cursor, whose resource starts with its hot spot) from its
// resource bits, scaled by the system to that size; null where the system cannot make it.
HICON iconFromResource(std::span<const std::uint8_t> resource, bool icon, int width, int height);

} // namespace kelvarin::win32
