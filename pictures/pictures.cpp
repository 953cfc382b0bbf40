// Decoders for the window's picture formats, and the canvas they are composed on.
#include "pictures/pictures.hpp"

#include <algorithm>
#include <cstddef>

namespace kelvarin::pictures {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Larger pictures are refused before anything is allocated for them.
constexpr std::int64_t kMaxSide = 4096;

// Reads little-endian fields; once a read runs past the end, every later read fails too.
class Reader {
public:
  explicit Reader(Bytes bytes, std::size_t position = 0) : bytes_(bytes), position_(position) {
    ok_ = position <= bytes.size();
  }

  bool ok() const { return ok_; }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }

  std::uint32_t u8() { return take(1) ? bytes_[position_ - 1] : 0; }
  std::uint32_t u16() {
    const std::uint32_t low = u8();
    return low | u8() << 8;
  }
  std::uint32_t u32() {
    const std::uint32_t low = u16();
    return low | u16() << 16;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  Bytes bytes(std::size_t count) {
    return take(count) ? bytes_.subspan(position_ - count, count) : Bytes{};
  }

private:
  bool take(std::size_t count) {
    ok_ = ok_ && count <= bytes_.size() - position_;
    if (ok_) {
      position_ += count;
    }
    return ok_;
  }

  Bytes bytes_;
  std::size_t position_;
  bool ok_;
};

std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red << 16 | green << 8 | blue;
}

std::size_t area(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// Where pixel (x, y) lies in rows `width` pixels long.
std::size_t offset(int x, int y, int width) {
  return area(width, y) + static_cast<std::size_t>(x);
}

// GIF's variable-width LZW: codes of minCodeSize + 1 to 12 bits, least significant bit
// first, a clear code and an end code. Stops once `count` pixels are decoded.
class LzwDecoder {
public:
  LzwDecoder(unsigned minCodeSize, std::size_t count)
      : minCodeSize_(minCodeSize), clear_(1u << minCodeSize), output_(count) {
    for (unsigned code = 0; code < clear_; ++code) {
      suffix_[code] = static_cast<std::uint8_t>(code);
      first_[code] = static_cast<std::uint8_t>(code);
      length_[code] = 1;
    }
    reset();
  }

  std::optional<std::vector<std::uint8_t>> decode(const std::vector<std::uint8_t>& data) {
    std::size_t bit = 0;
    const std::size_t bits = data.size() * 8;
    while (written_ < output_.size()) {
      if (bits - bit < codeSize_) {
        return std::nullopt; // the data ended before the picture did
      }
      unsigned code = 0;
      for (unsigned i = 0; i < codeSize_; ++i, ++bit) {
        code |= (static_cast<unsigned>(data[bit / 8]) >> (bit % 8) & 1u) << i;
      }
      if (code == clear_) {
        reset();
      } else if (code == clear_ + 1 || !step(code)) {
        return std::nullopt; // an end code before the last pixel, or a code not yet defined
      }
    }
    return std::move(output_);
  }

private:
  static constexpr unsigned kMaxCodes = 4096;
  static constexpr unsigned kNone = kMaxCodes;

  void reset() {
    codeSize_ = minCodeSize_ + 1;
    next_ = clear_ + 2;
    previous_ = kNone;
  }

  bool step(unsigned code) {
    if (previous_ == kNone) {
      if (code >= clear_) {
        return false;
      }
      emit(code);
      previous_ = code;
      return true;
    }
    std::uint8_t first = 0;
    if (code < next_) {
      first = first_[code];
    } else if (code == next_ && next_ < kMaxCodes) {
      first = first_[previous_]; // the string being defined: previous's, plus its first byte
    } else {
      return false;
    }
    if (next_ < kMaxCodes) {
      prefix_[next_] = static_cast<std::uint16_t>(previous_);
      suffix_[next_] = first;
      first_[next_] = first_[previous_];
      length_[next_] = static_cast<std::uint16_t>(length_[previous_] + 1);
      ++next_;
      if (next_ == 1u << codeSize_ && codeSize_ < 12) {
        ++codeSize_;
      }
    }
    emit(code);
    previous_ = code;
    return true;
  }

  // Writes the code's string, last byte first, keeping what fits into the picture.
  void emit(unsigned code) {
    const std::size_t length = length_[code];
    for (std::size_t i = length; i-- > 0;) {
      if (written_ + i < output_.size()) {
        output_[written_ + i] = suffix_[code];
      }
      code = prefix_[code];
    }
    written_ = std::min(written_ + length, output_.size());
  }

  unsigned minCodeSize_;
  unsigned clear_;
  unsigned codeSize_ = 0;
  unsigned next_ = 0;
  unsigned previous_ = kNone;
  std::array<std::uint16_t, kMaxCodes> prefix_{};
  std::array<std::uint8_t, kMaxCodes> suffix_{};
  std::array<std::uint8_t, kMaxCodes> first_{};
  std::array<std::uint16_t, kMaxCodes> length_{};
  std::vector<std::uint8_t> output_;
  std::size_t written_ = 0;
};

// The device-independent bitmap's info header that BMP, ICO and CUR files share.
struct InfoHeader {
  std::uint32_t size;
  std::int64_t width;
  std::int64_t height;
  std::uint32_t planes;
  std::uint32_t bitsPerPixel;
  std::uint32_t compression;
  std::uint32_t coloursUsed;
};

InfoHeader readInfoHeader(Reader& in) {
  InfoHeader header{};
  header.size = in.u32();
  header.width = in.i32();
  header.height = in.i32();
  header.planes = in.u16();
  header.bitsPerPixel = in.u16();
  header.compression = in.u32();
  in.bytes(12); // image size and resolution
  header.coloursUsed = in.u32();
  in.bytes(4); // important colours
  return header;
}

// A run of data sub-blocks up to the zero-length terminator; nothing if it is cut off.
std::optional<std::vector<std::uint8_t>> subBlocks(Reader& in) {
  std::vector<std::uint8_t> data;
  for (std::uint32_t size = in.u8(); in.ok() && size != 0; size = in.u8()) {
    const Bytes block = in.bytes(size);
    data.insert(data.end(), block.begin(), block.end());
  }
  if (!in.ok()) {
    return std::nullopt;
  }
  return data;
}

// A colour table of 2 << (packed & 7) entries; its size in entries goes to `count`.
bool readColourTable(Reader& in, std::uint32_t packed, GifPicture& picture, unsigned& count) {
  count = 2u << (packed & 7u);
  for (unsigned i = 0; i < count; ++i) {
    const std::uint32_t red = in.u8();
    const std::uint32_t green = in.u8();
    picture.colours[i] = rgb(red, green, in.u8());
  }
  return in.ok();
}

} // namespace

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

std::optional<GifPicture> decodeGif(Bytes file) {
  Reader in(file);
  const Bytes signature = in.bytes(6);
  const bool gif = in.ok() && signature[0] == 'G' && signature[1] == 'I' && signature[2] == 'F' &&
                   signature[3] == '8' && (signature[4] == '7' || signature[4] == '9') &&
                   signature[5] == 'a';
  GifPicture picture;
  picture.width = static_cast<int>(in.u16());
  picture.height = static_cast<int>(in.u16());
  const std::uint32_t screenFlags = in.u8();
  in.bytes(2); // background colour and aspect ratio: the picture covers the whole screen
  unsigned tableSize = 0;
  if (!in.ok() || !gif || picture.width == 0 || picture.height == 0 ||
      ((screenFlags & 0x80u) != 0 && !readColourTable(in, screenFlags, picture, tableSize))) {
    return std::nullopt;
  }
  while (true) {
    const std::uint32_t introducer = in.u8();
    if (!in.ok()) {
      return std::nullopt;
    }
    if (introducer == 0x21) {
      const std::uint32_t label = in.u8();
      const auto data = subBlocks(in);
      if (!data) {
        return std::nullopt;
      }
      if (label == 0xF9) {
        if (data->size() < 4) {
          return std::nullopt;
        }
        picture.transparentIndex.reset();
        if (((*data)[0] & 1u) != 0) {
          picture.transparentIndex = (*data)[3];
        }
      }
      continue;
    }
    if (introducer != 0x2C) {
      return std::nullopt; // the trailer before any image, or garbage
    }
    const std::uint32_t left = in.u16();
    const std::uint32_t top = in.u16();
    const std::uint32_t width = in.u16();
    const std::uint32_t height = in.u16();
    const std::uint32_t imageFlags = in.u8();
    if (!in.ok() || left != 0 || top != 0 || width != static_cast<std::uint32_t>(picture.width) ||
        height != static_cast<std::uint32_t>(picture.height) || (imageFlags & 0x40u) != 0 ||
        ((imageFlags & 0x80u) != 0 && !readColourTable(in, imageFlags, picture, tableSize))) {
      return std::nullopt;
    }
    const std::uint32_t minCodeSize = in.u8();
    const auto data = subBlocks(in);
    if (!data || tableSize == 0 || minCodeSize < 2 || minCodeSize > 8) {
      return std::nullopt;
    }
    auto indices = LzwDecoder(minCodeSize, area(picture.width, picture.height)).decode(*data);
    if (!indices || std::any_of(indices->begin(), indices->end(),
                                [&](std::uint8_t index) { return index >= tableSize; })) {
      return std::nullopt;
    }
    picture.indices = std::move(*indices);
    return picture;
  }
}

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

Canvas::Canvas(int canvasWidth, int canvasHeight, std::uint32_t fill)
    : width(std::max(canvasWidth, 0)), height(std::max(canvasHeight, 0)),
      pixels(area(width, height), fill) {}

std::uint32_t Canvas::at(int x, int y) const {
  return pixels[offset(x, y, width)];
}

void drawUnscaled(Canvas& canvas, const Canvas& picture, int left, int top) {
  const int fromX = std::max(0, -left);
  const int toX = std::min(picture.width, canvas.width - left);
  const int fromY = std::max(0, -top);
  const int toY = std::min(picture.height, canvas.height - top);
  for (int y = fromY; y < toY; ++y) {
    for (int x = fromX; x < toX; ++x) {
      canvas.pixels[offset(left + x, top + y, canvas.width)] =
          picture.pixels[offset(x, y, picture.width)];
    }
  }
}

void drawStretched(Canvas& canvas, const GifPicture& picture, int destLeft, int destTop,
                   int destWidth, int destHeight) {
  if (destWidth <= 0 || destHeight <= 0 ||
      picture.indices.size() != area(picture.width, picture.height)) {
    return;
  }
  const int fromX = std::max(0, -destLeft);
  const int toX = std::min(destWidth, canvas.width - destLeft);
  const int fromY = std::max(0, -destTop);
  const int toY = std::min(destHeight, canvas.height - destTop);
  for (int dy = fromY; dy < toY; ++dy) {
    const auto sourceY =
        static_cast<int>(static_cast<std::int64_t>(dy) * picture.height / destHeight);
    for (int dx = fromX; dx < toX; ++dx) {
      const auto sourceX =
          static_cast<int>(static_cast<std::int64_t>(dx) * picture.width / destWidth);
      const std::uint8_t index = picture.indices[offset(sourceX, sourceY, picture.width)];
      if (index != picture.transparentIndex) {
        canvas.pixels[offset(destLeft + dx, destTop + dy, canvas.width)] = picture.colours[index];
      }
    }
  }
}

} // namespace kelvarin::pictures
