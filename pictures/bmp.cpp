// The uncompressed 24-bit BMP.
#include "pictures/pictures.hpp"
#include "pictures/reader.hpp"

namespace kelvarin::pictures {

std::optional<Bitmap> readBmp(Bytes file) {
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
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  Reader pixels(file, pixelOffset);
  const Bytes data = pixels.bytes(stride * rows);
  if (!pixels.ok()) {
    return std::nullopt;
  }
  return Bitmap{static_cast<int>(width), static_cast<int>(rows), data, stride, height > 0};
}

std::uint32_t Bitmap::at(int x, int y) const {
  const auto row = static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
  const std::uint8_t* pixel = &rows[row * stride + 3 * static_cast<std::size_t>(x)];
  return rgb(pixel[2], pixel[1], pixel[0]);
}

} // namespace kelvarin::pictures
