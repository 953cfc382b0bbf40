// plate.gif: a pale lavender slab of ice with corners cut round, a black outline broken in
// a few places along the top and bottom, and a face mottled with round blotches lighter
// and darker than the base. The corners and a few one-pixel notches in the left and right
// edges are transparent. giflib writes the file.
#include "tools/picgen/gif.hpp"

#include <array>
#include <cmath>

namespace kelvarin::picgen {
namespace {

constexpr int kWidth = 66;
constexpr int kHeight = 32;
constexpr int kCornerRadius = 9;
constexpr int kBlotches = 48;
constexpr std::size_t kFileLength = 1320;
constexpr std::uint64_t kFirstSeed = 1;
constexpr std::uint64_t kLastSeed = 100000;

enum Colour : std::uint8_t {
  kBlack,
  kBase,
  kShade101,
  kShade117,
  kShade133,
  kShade153,
  kShade170,
  kShade202,
  kShade218,
  kShade234,
  kTransparent = 239,
};

std::array<Rgb, 256> palette() {
  std::array<Rgb, 256> colours{};
  colours[kBase] = {186, 186, 222};
  colours[kShade101] = {101, 101, 133};
  colours[kShade117] = {117, 117, 153};
  colours[kShade133] = {133, 133, 170};
  colours[kShade153] = {153, 153, 186};
  colours[kShade170] = {170, 170, 202};
  colours[kShade202] = {202, 202, 238};
  colours[kShade218] = {218, 218, 255};
  colours[kShade234] = {234, 234, 255};
  colours[kTransparent] = {255, 0, 255};
  return colours;
}

// One-pixel notches in the left and right edges: (x, y).
constexpr std::array<std::array<int, 2>, 9> kNotches{{
    {0, 11},
    {0, 15},
    {0, 21},
    {0, 24},
    {0, 18},
    {65, 12},
    {65, 17},
    {65, 20},
    {65, 14},
}};

// The gaps in the outline: runs [from, to) of the top and the bottom row.
constexpr std::array<std::array<int, 2>, 3> kTopGaps{{{17, 20}, {34, 36}, {50, 54}}};
constexpr std::array<std::array<int, 2>, 2> kBottomGaps{{{24, 27}, {44, 46}}};

bool outsideCorner(int x, int y) {
  const int cx = x < kCornerRadius ? kCornerRadius : kWidth - kCornerRadius;
  const int cy = y < kCornerRadius ? kCornerRadius : kHeight - kCornerRadius;
  const bool inCorner = (x < kCornerRadius || x >= kWidth - kCornerRadius) &&
                        (y < kCornerRadius || y >= kHeight - kCornerRadius);
  const double dx = x + 0.5 - cx;
  const double dy = y + 0.5 - cy;
  return inCorner && dx * dx + dy * dy > kCornerRadius * kCornerRadius;
}

Grid<std::uint8_t> drawPlate(std::uint64_t seed) {
  Grid<std::uint8_t> plate(kWidth, kHeight, kBase);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (outsideCorner(x, y)) {
        plate.at(x, y) = kTransparent;
      }
    }
  }
  for (const auto& [x, y] : kNotches) {
    plate.at(x, y) = kTransparent;
  }
  const auto outside = [&](int x, int y) {
    return !plate.contains(x, y) || plate.at(x, y) == kTransparent;
  };

  // The outline: every slab pixel that touches the outside, corners included.
  Grid<std::uint8_t> edge(kWidth, kHeight, 0);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (outside(x, y)) {
        continue;
      }
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (outside(x + dx, y + dy)) {
            edge.at(x, y) = 1;
          }
        }
      }
    }
  }
  const auto onEdge = [&](int x, int y) { return !plate.contains(x, y) || edge.at(x, y) != 0; };

  // The blotches, then the bevel inside the outline on top of them: lit along the top and
  // left, in shadow along the bottom and right.
  Random random(seed);
  for (int blotch = 0; blotch < kBlotches; ++blotch) {
    const double cx = random.between(2.0, kWidth - 2.0);
    const double cy = random.between(2.0, kHeight - 2.0);
    const double radius = random.between(1.0, 2.6);
    const bool light = random.below(2) == 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (distance < radius && plate.at(x, y) != kTransparent) {
          const bool core = distance < radius - 1.0;
          plate.at(x, y) = light ? (core ? kShade218 : kShade202) : (core ? kShade153 : kShade170);
        }
      }
    }
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t& pixel = plate.at(x, y);
      if (pixel == kTransparent) {
        continue;
      }
      if (onEdge(x, y)) {
        pixel = kBlack;
      } else if (onEdge(x, y - 1)) {
        pixel = kShade234;
      } else if (onEdge(x, y + 1)) {
        pixel = kShade117;
      } else if (onEdge(x, y - 2) || onEdge(x - 1, y)) {
        pixel = kShade218;
      } else if (onEdge(x, y + 2) || onEdge(x + 1, y)) {
        pixel = kShade133;
      }
    }
  }
  for (const auto& [from, to] : kTopGaps) {
    for (int x = from; x < to; ++x) {
      plate.at(x, 0) = kShade234;
    }
  }
  for (const auto& [from, to] : kBottomGaps) {
    for (int x = from; x < to; ++x) {
      plate.at(x, kHeight - 1) = kShade101;
    }
  }
  return plate;
}

} // namespace

// The blotches' seed is the first from kFirstSeed whose picture encodes to exactly
// kFileLength bytes.
Bytes plateGif() {
  for (std::uint64_t seed = kFirstSeed; seed <= kLastSeed; ++seed) {
    Bytes file = gifFile({palette(), drawPlate(seed), kTransparent});
    if (file.size() == kFileLength) {
      return file;
    }
  }
  throw std::runtime_error("no blotch pattern encodes to the plate's file length");
}

} // namespace kelvarin::picgen
