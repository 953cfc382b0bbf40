// The uncompressed 24-bit BMP.
#include "pictures/pictures.hpp"
#include "pictures/reader.hpp"

namespace kelvarin::pictures {

std::optional<Canvas> decodeBmp(Bytes file) {
  Reader in(file);
  const bool signature = in.u8() == 'B' && in.u8() == 'M';
  in.u32(); // file size: the pixel rows' bounds are checked against the bytes themselves
  in.u32();
  const std::uint32_t pixelOffset = in.u32();
  const InfoHeader header = readInfoHeader(in);
  const std::int64_t width = header.width;
  const std::int64_t height = header.height;
  if (!in.ok() || !signature || header.size < 40 || header.planes != 1 ||
      header.bitsPerPixel != 24 || header.compression != 0 || width <= 0 || width > kMaxSide ||
      height == 0 || height < -kMaxSide || height > kMaxSide) {
    return std::nullopt;
  }
  const auto rows = static_cast<std::size_t>(height < 0 ? -height : height);
  const auto columns = static_cast<std::size_t>(width);
  const std::size_t stride = (columns * 3 + 3) / 4 * 4;
  Reader pixels(file, pixelOffset);
  const Bytes data = pixels.bytes(stride * rows);
  if (!pixels.ok()) {
    return std::nullopt;
  }
  Canvas bitmap(static_cast<int>(columns), static_cast<int>(rows));
  for (std::size_t y = 0; y < rows; ++y) {
    const std::size_t stored = height > 0 ? rows - 1 - y : y;
    const Bytes row = data.subspan(stored * stride, columns * 3);
    for (std::size_t x = 0; x < columns; ++x) {
      bitmap.pixels[y * columns + x] = rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
  }
  return bitmap;
}

} // namespace kelvarin::pictures
