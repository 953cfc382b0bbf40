// Reading a picture file: its little-endian fields, the limit on a picture's size, and the
// bitmap header that BMP, ICO and CUR files share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kelvarin::pictures {

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
  // Whatever the reads so far have left.
  Bytes rest() const { return ok_ ? bytes_.subspan(position_) : Bytes{}; }

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

inline std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red << 16 | green << 8 | blue;
}

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

inline InfoHeader readInfoHeader(Reader& in) {
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

} // namespace kelvarin::pictures
