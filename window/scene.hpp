// The window's pictures composed at 96 DPI: the wall first, then the plates from the
// bottom of the stack up, each squeezed to its rectangle with the wall showing through its
// transparent pixels. The labels' words are drawn over it at paint time, at the window's DPI.
#pragma once

#include "pictures/pictures.hpp"

#include <optional>

namespace kelvarin::scene {

// Nothing if a picture record does not decode: the program's own data is broken.
std::optional<pictures::Canvas> compose();

// The canvas scaled to `width` x `height`, nearest neighbour, so the pixel art stays sharp:
// destination pixel (x, y) shows source pixel (x * source width / width, y * ... / height).
pictures::Canvas resized(const pictures::Canvas& source, int width, int height);

} // namespace kelvarin::scene
