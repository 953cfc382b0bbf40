// The GIF's first image, and the LZW it is compressed with.
#include "pictures/grid.hpp"
#include "pictures/pictures.hpp"
#include "pictures/reader.hpp"

#include <algorithm>
#include <utility>

namespace kelvarin::pictures {
namespace {

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

} // namespace kelvarin::pictures
