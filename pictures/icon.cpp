// The single image of an ICO or CUR file, and the cursor resource made of it.
#include "pictures/pictures.hpp"
#include "pictures/reader.hpp"

namespace kelvarin::pictures {

std::optional<IconImage> iconImage(Bytes file) {
  Reader in(file);
  const std::uint32_t reserved = in.u16();
  const std::uint32_t type = in.u16();
  const std::uint32_t count = in.u16();
  const std::uint32_t width = in.u8();
  const std::uint32_t height = in.u8();
  in.u16(); // colour count and a reserved byte: the bitmap's own header says
  const std::uint32_t planesOrHotSpotX = in.u16();
  const std::uint32_t bitCountOrHotSpotY = in.u16();
  const std::uint32_t size = in.u32();
  const std::uint32_t offset = in.u32();
  if (!in.ok() || reserved != 0 || (type != 1 && type != 2) || count != 1) {
    return std::nullopt;
  }
  IconImage icon;
  icon.cursor = type == 2;
  icon.width = width == 0 ? 256 : static_cast<int>(width);
  icon.height = height == 0 ? 256 : static_cast<int>(height);
  if (icon.cursor) {
    icon.hotSpotX = static_cast<std::uint16_t>(planesOrHotSpotX);
    icon.hotSpotY = static_cast<std::uint16_t>(bitCountOrHotSpotY);
  }
  Reader image(file, offset);
  icon.image = image.bytes(size);
  Reader dib(icon.image);
  const InfoHeader header = readInfoHeader(dib);
  const std::uint32_t bits = header.bitsPerPixel;
  const std::uint32_t coloursUsed = header.coloursUsed;
  const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
  if (!image.ok() || !dib.ok() || header.size != 40 || header.width != icon.width ||
      header.height != 2 * icon.height || header.planes != 1 || !depth || header.compression != 0 ||
      (bits <= 8 && coloursUsed > (1u << bits))) {
    return std::nullopt;
  }
  // The header, the palette, the colour rows and the mask rows must all be there.
  const std::size_t paletteSize = bits > 8 ? 0 : coloursUsed != 0 ? coloursUsed : 1u << bits;
  const std::size_t rows = static_cast<std::size_t>(icon.height);
  const std::size_t columns = static_cast<std::size_t>(icon.width);
  const std::size_t needed = header.size + 4 * paletteSize + (columns * bits + 31) / 32 * 4 * rows +
                             (columns + 31) / 32 * 4 * rows;
  if (icon.image.size() < needed) {
    return std::nullopt;
  }
  return icon;
}

std::vector<std::uint8_t> cursorResource(const IconImage& cursor) {
  std::vector<std::uint8_t> resource{
      static_cast<std::uint8_t>(cursor.hotSpotX & 0xFFu),
      static_cast<std::uint8_t>(cursor.hotSpotX >> 8),
      static_cast<std::uint8_t>(cursor.hotSpotY & 0xFFu),
      static_cast<std::uint8_t>(cursor.hotSpotY >> 8),
  };
  resource.insert(resource.end(), cursor.image.begin(), cursor.image.end());
  return resource;
}

} // namespace kelvarin::pictures
