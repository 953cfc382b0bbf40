// The size of a grid of pixels stored row by row, and where a pixel lies in it.
#pragma once

#include <cstddef>

namespace kelvarin::pictures {

inline std::size_t area(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Where pixel (x, y) lies in rows `width` pixels long.
inline std::size_t offset(int x, int y, int width) {
  return area(width, y) + static_cast<std::size_t>(x);
}

} // namespace kelvarin::pictures
