// What the four drawings share: a pixel grid, a little-endian byte writer, our random
// generator, and the icon/cursor file layout.
#pragma once

#include "tools/picgen/picgen.hpp"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kelvarin::picgen {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  bool operator==(const Rgb&) const = default;
};

template <typename Cell> class Grid {
public:
  Grid(int width, int height, Cell fill)
      : width_(width), height_(height), cells_(static_cast<std::size_t>(width * height), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Cell& at(int x, int y) { return cells_.at(index(x, y)); }
  const Cell& at(int x, int y) const { return cells_.at(index(x, y)); }
  const std::vector<Cell>& cells() const { return cells_; }

private:
  std::size_t index(int x, int y) const {
    if (!contains(x, y)) {
      throw std::out_of_range("pixel outside the grid");
    }
    return static_cast<std::size_t>(y * width_ + x);
  }

  int width_;
  int height_;
  std::vector<Cell> cells_;
};

class ByteWriter {
public:
  void u8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
  void u16(unsigned value) {
    u8(value & 0xFFu);
    u8(value >> 8);
  }
  void u32(std::uint32_t value) {
    u16(value & 0xFFFFu);
    u16(value >> 16);
  }
  void append(const Bytes& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  std::size_t size() const { return bytes_.size(); }
  Bytes take() { return std::move(bytes_); }

private:
  Bytes bytes_;
};

// SplitMix64: tiny, and its output is fixed by its definition, unlike the standard
// library's distributions.
class Random {
public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  double between(double low, double high) { return low + (high - low) * unit(); }
  int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

private:
  std::uint64_t state_;
};

// The file of one icon or cursor image: the directory, its single entry and the
// device-independent bitmap (header, palette, colour rows bottom-up, mask rows bottom-up).
// Mask bit 1 is transparent. For a cursor the entry's planes and bit count hold the hot spot.
struct IconImage {
  bool cursor;
  unsigned bitsPerPixel;
  std::vector<Rgb> palette;
  Grid<std::uint8_t> colours;     // palette indices
  Grid<std::uint8_t> transparent; // 1: transparent
  unsigned entryColourCount;
  unsigned entryPlanes;
  unsigned entryBitCount;
};

Bytes iconFile(const IconImage& image);

} // namespace kelvarin::picgen
