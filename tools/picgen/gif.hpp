// A one-image GIF89a written by giflib: full 256-entry global colour table, one graphic
// control extension naming the transparent index, one uninterlaced image, LZW code size 8.
#pragma once

#include "tools/picgen/raster.hpp"

#include <array>

namespace kelvarin::picgen {

struct GifImage {
  std::array<Rgb, 256> palette;
  Grid<std::uint8_t> indices;
  std::uint8_t transparentIndex;
};

Bytes gifFile(const GifImage& image);

} // namespace kelvarin::picgen
