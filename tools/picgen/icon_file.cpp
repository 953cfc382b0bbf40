// The icon and cursor file layout shared by kelvarin.ico and hand.cur.
#include "tools/picgen/raster.hpp"

namespace kelvarin::picgen {
namespace {

constexpr std::uint32_t kDibHeaderSize = 40;
constexpr std::uint32_t kDirectorySize = 6 + 16;

// Rows of packed pixels, bottom row first, each padded to four bytes, leftmost pixel in the
// high bits.
template <typename Cell, typename Value>
Bytes packedRows(const Grid<Cell>& grid, unsigned bitsPerPixel, Value value) {
  const auto width = static_cast<unsigned>(grid.width());
  const unsigned stride = (width * bitsPerPixel + 31) / 32 * 4;
  Bytes rows(stride * static_cast<unsigned>(grid.height()), 0);
  for (int y = 0; y < grid.height(); ++y) {
    const unsigned row = static_cast<unsigned>(grid.height() - 1 - y) * stride;
    for (int x = 0; x < grid.width(); ++x) {
      const unsigned bit = static_cast<unsigned>(x) * bitsPerPixel;
      const unsigned shift = 8 - bitsPerPixel - bit % 8;
      rows[row + bit / 8] |= static_cast<std::uint8_t>(value(grid.at(x, y)) << shift);
    }
  }
  return rows;
}

} // namespace

Bytes iconFile(const IconImage& image) {
  if (image.palette.size() != (1u << image.bitsPerPixel)) {
    throw std::logic_error("palette size does not match the bit depth");
  }
  const Bytes colourRows = packedRows(image.colours, image.bitsPerPixel,
                                      [](std::uint8_t index) { return unsigned{index}; });
  const Bytes maskRows = packedRows(image.transparent, 1,
                                    [](std::uint8_t transparent) { return unsigned{transparent}; });
  const auto width = static_cast<std::uint32_t>(image.colours.width());
  const auto height = static_cast<std::uint32_t>(image.colours.height());
  const auto imageSize = static_cast<std::uint32_t>(kDibHeaderSize + 4 * image.palette.size() +
                                                    colourRows.size() + maskRows.size());

  ByteWriter out;
  out.u16(0);
  out.u16(image.cursor ? 2 : 1);
  out.u16(1); // one image
  out.u8(width);
  out.u8(height);
  out.u8(image.entryColourCount);
  out.u8(0);
  out.u16(image.entryPlanes);
  out.u16(image.entryBitCount);
  out.u32(imageSize);
  out.u32(kDirectorySize);

  out.u32(kDibHeaderSize);
  out.u32(width);
  out.u32(2 * height); // colour rows and mask rows together
  out.u16(1);
  out.u16(image.bitsPerPixel);
  out.u32(0); // uncompressed
  out.u32(static_cast<std::uint32_t>(colourRows.size() + maskRows.size()));
  out.u32(0);
  out.u32(0);
  out.u32(0);
  out.u32(0);
  for (const Rgb& colour : image.palette) {
    out.u8(colour.blue);
    out.u8(colour.green);
    out.u8(colour.red);
    out.u8(0);
  }
  out.append(colourRows);
  out.append(maskRows);
  return out.take();
}

} // namespace kelvarin::picgen
