// The GIF's first image, and the LZW it is compressed with.
#include "pictures/pictures.hpp"
#include "pictures/reader.hpp"

#include <memory>

namespace kelvarin::pictures {
namespace {

// The bytes of a run of data sub-blocks, read in place up to the zero-length terminator.
class SubBlocks {
public:
  explicit SubBlocks(Reader& in) : in_(in) {}

  // False once the run or the file has ended.
  bool next(std::uint32_t& byte) {
    if (left_ == 0 && !ended_) {
      left_ = in_.u8();
      ended_ = left_ == 0;
    }
    if (ended_) {
      return false;
    }
    --left_;
    byte = in_.u8();
    return in_.ok();
  }

  // Skips to the terminator: whether the file holds the run whole.
  bool finish() {
    for (std::uint32_t byte = 0; next(byte);) {
    }
    return in_.ok();
  }

private:
  Reader& in_;
  std::uint32_t left_ = 0; // in the block being read
  bool ended_ = false;
};

// GIF's variable-width LZW: codes of minCodeSize + 1 to 12 bits, least significant bit
// first, a clear code and an end code. Each code's string is spelt into the picture's rows,
// which go to `rows` as they fill; it stops at the picture's last pixel. Nothing in the tables
// is read that was not written since the last clear code.
class LzwDecoder {
public:
  LzwDecoder(const Gif& gif, unsigned minCodeSize, GifRows& rows)
      : gif_(gif), rows_(rows), width_(static_cast<std::size_t>(gif.width)),
        minCodeSize_(minCodeSize), clear_(1u << minCodeSize) {
    reset();
  }

  bool decode(SubBlocks& data) {
    while (y_ < gif_.height) {
      for (std::uint32_t byte = 0; bitCount_ < codeSize_; bitCount_ += 8) {
        if (!data.next(byte)) {
          return false; // the data ended before the picture did
        }
        bits_ |= byte << bitCount_;
      }
      const unsigned code = bits_ & ((1u << codeSize_) - 1);
      bits_ >>= codeSize_;
      bitCount_ -= codeSize_;
      if (code == clear_) {
        reset();
      } else if (code == clear_ + 1 || !step(code)) {
        return false; // an end code before the last pixel, a code not yet defined, a bad index
      }
    }
    return true;
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
    // A code may be the one about to be defined: its string is the previous one plus that
    // one's first byte.
    const bool defined = code < next_;
    if (!defined && (code != next_ || previous_ == kNone)) {
      return false;
    }
    // Spelt backwards from the end of string_: a string is at most one byte longer than the
    // table has codes.
    const std::size_t last = defined ? kMaxCodes : kMaxCodes - 1;
    std::size_t first = last;
    unsigned spelt = defined ? code : previous_;
    for (; spelt >= clear_; spelt = prefix_[spelt]) {
      string_[--first] = suffix_[spelt];
    }
    string_[--first] = static_cast<std::uint8_t>(spelt);
    if (!defined) {
      string_[last] = string_[first];
    }
    if (previous_ != kNone && next_ < kMaxCodes) {
      prefix_[next_] = static_cast<std::uint16_t>(previous_);
      suffix_[next_] = string_[first];
      ++next_;
      if (next_ == 1u << codeSize_ && codeSize_ < 12) {
        ++codeSize_;
      }
    }
    previous_ = code;
    return emit(std::span(string_).subspan(first));
  }

  // Writes the string into the rows, handing each on once it is full; what lies beyond the
  // picture's last pixel is dropped.
  bool emit(std::span<const std::uint8_t> string) {
    for (const std::uint8_t index : string) {
      if (y_ == gif_.height) {
        break;
      }
      if (index >= gif_.colourCount) {
        return false;
      }
      row_[x_] = index;
      if (++x_ == width_) {
        rows_.row(y_++, std::span(row_).first(width_));
        x_ = 0;
      }
    }
    return true;
  }

  const Gif& gif_;
  GifRows& rows_;
  std::size_t width_;
  unsigned minCodeSize_;
  unsigned clear_;
  unsigned codeSize_ = 0;
  unsigned next_ = 0;
  unsigned previous_ = kNone;
  std::uint32_t bits_ = 0; // read from the data, not yet taken as a code
  unsigned bitCount_ = 0;
  std::array<std::uint16_t, kMaxCodes> prefix_;
  std::array<std::uint8_t, kMaxCodes> suffix_;
  std::array<std::uint8_t, kMaxCodes> string_;
  std::array<std::uint8_t, kMaxSide> row_;
  std::size_t x_ = 0;
  int y_ = 0;
};

// A colour table of 2 << (packed & 7) entries.
bool readColourTable(Reader& in, std::uint32_t packed, Gif& gif) {
  gif.colourCount = 2u << (packed & 7u);
  for (unsigned i = 0; i < gif.colourCount; ++i) {
    const std::uint32_t red = in.u8();
    const std::uint32_t green = in.u8();
    gif.colours[i] = rgb(red, green, in.u8());
  }
  return in.ok();
}

} // namespace

std::optional<Gif> readGif(Bytes file) {
  Reader in(file);
  const Bytes signature = in.bytes(6);
  const bool isGif = in.ok() && signature[0] == 'G' && signature[1] == 'I' && signature[2] == 'F' &&
                     signature[3] == '8' && (signature[4] == '7' || signature[4] == '9') &&
                     signature[5] == 'a';
  Gif gif;
  gif.width = static_cast<int>(in.u16());
  gif.height = static_cast<int>(in.u16());
  const std::uint32_t screenFlags = in.u8();
  in.bytes(2); // background colour and aspect ratio: the picture covers the whole screen
  if (!in.ok() || !isGif || gif.width == 0 || gif.height == 0 ||
      ((screenFlags & 0x80u) != 0 && !readColourTable(in, screenFlags, gif))) {
    return std::nullopt;
  }
  while (true) {
    const std::uint32_t introducer = in.u8();
    if (!in.ok()) {
      return std::nullopt;
    }
    if (introducer == 0x21) {
      const std::uint32_t label = in.u8();
      SubBlocks data(in);
      if (label == 0xF9) {
        std::uint32_t flags = 0;
        std::uint32_t delay = 0;
        std::uint32_t index = 0;
        if (!data.next(flags) || !data.next(delay) || !data.next(delay) || !data.next(index)) {
          return std::nullopt;
        }
        gif.transparentIndex.reset();
        if ((flags & 1u) != 0) {
          gif.transparentIndex = static_cast<std::uint8_t>(index);
        }
      }
      if (!data.finish()) {
        return std::nullopt;
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
    if (!in.ok() || left != 0 || top != 0 || width != static_cast<std::uint32_t>(gif.width) ||
        height != static_cast<std::uint32_t>(gif.height) || (imageFlags & 0x40u) != 0 ||
        ((imageFlags & 0x80u) != 0 && !readColourTable(in, imageFlags, gif)) ||
        gif.colourCount == 0) {
      return std::nullopt;
    }
    gif.data = in.rest();
    return gif;
  }
}

bool decodeGif(const Gif& gif, GifRows& rows) {
  Reader in(gif.data);
  const std::uint32_t minCodeSize = in.u8();
  // The decoder holds one row: larger pictures are refused.
  if (!in.ok() || minCodeSize < 2 || minCodeSize > 8 || gif.width <= 0 || gif.width > kMaxSide ||
      gif.height <= 0 || gif.height > kMaxSide) {
    return false;
  }
  SubBlocks data(in);
  // The decoder's tables, some 20 KB, go on the heap: a frame that large would need the stack
  // probed page by page.
  const auto decoder = std::make_unique<LzwDecoder>(gif, minCodeSize, rows);
  return decoder->decode(data) && data.finish();
}

} // namespace kelvarin::pictures
