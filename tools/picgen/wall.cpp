// wall.bmp: dark-red stones with rounded corners in grey mortar. A mortar band slopes down
// to the right a third of the way down; one joint stands above it a little left of the
// middle, two below it near the left and right edges.
#include "tools/picgen/raster.hpp"

#include <algorithm>
#include <cmath>

namespace kelvarin::picgen {
namespace {

constexpr int kWidth = 205;
constexpr int kHeight = 133;
constexpr double kRadius = 6.0; // of the stones' corners
constexpr double kRim = 2.0;    // the darker shade along a stone's edge
constexpr double kFar = 1000.0; // an edge far outside the picture
// The stones' far edges, just outside the picture: above the upper row, below the lower.
constexpr double kAbove = -12.0;
constexpr double kBelow = 146.0;
// The lighter centres begin this deep inside a stone, deeper where the noise is high.
constexpr double kCentreDepth = 18.0;
constexpr double kCentreSpread = 12.0;
constexpr std::uint64_t kSeed = 0x57A11;

constexpr Rgb kStone{117, 36, 44};
constexpr Rgb kStoneLight{129, 36, 44};
constexpr Rgb kStoneDark{101, 36, 44};
constexpr Rgb kMortar{145, 145, 145};
constexpr Rgb kMortarShadow{113, 113, 113};
constexpr Rgb kMortarLit{129, 129, 129};
constexpr int kBlends = 5; // steps between kStoneDark and kMortarShadow at the stones' edges

double bandTop(double x) {
  return 38.0 + 6.0 * x / kWidth;
}
constexpr double kBandHeight = 5.0;

struct Stone {
  double left;
  double right;
  bool belowBand;
};

constexpr Stone kStones[] = {
    {-kFar, 96.0, false}, {99.0, kFar, false},                      // the joint above the band
    {-kFar, 1.0, true},   {4.0, 198.0, true},  {201.0, kFar, true}, // the joints below it
};

// How far the point lies inside the stone, its corners rounded; negative outside.
double depth(const Stone& stone, double x, double y) {
  const double top = stone.belowBand ? bandTop(x) + kBandHeight : kAbove;
  const double bottom = stone.belowBand ? kBelow : bandTop(x);
  const double across = std::min(x - stone.left, stone.right - x);
  const double down = std::min(y - top, bottom - y);
  const double cornerX = kRadius - across;
  const double cornerY = kRadius - down;
  if (cornerX > 0 && cornerY > 0) {
    return kRadius - std::sqrt(cornerX * cornerX + cornerY * cornerY);
  }
  return std::min(across, down);
}

Rgb blend(Rgb a, Rgb b, int aParts, int parts) {
  const auto mix = [&](std::uint8_t p, std::uint8_t q) {
    return static_cast<std::uint8_t>((p * aParts + q * (parts - aParts) + parts / 2) / parts);
  };
  return {mix(a.red, b.red), mix(a.green, b.green), mix(a.blue, b.blue)};
}

// Smooth noise in [0, 1): random values on a coarse lattice, interpolated.
class ValueNoise {
public:
  explicit ValueNoise(Random& random) : lattice_(kColumns, kRows, 0.0) {
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) {
        lattice_.at(x, y) = random.unit();
      }
    }
  }

  double at(double x, double y) const {
    const double u = x / kCell;
    const double v = y / kCell;
    const int i = static_cast<int>(u);
    const int j = static_cast<int>(v);
    const double fu = u - i;
    const double fv = v - j;
    const double top = lattice_.at(i, j) * (1 - fu) + lattice_.at(i + 1, j) * fu;
    const double bottom = lattice_.at(i, j + 1) * (1 - fu) + lattice_.at(i + 1, j + 1) * fu;
    return top * (1 - fv) + bottom * fv;
  }

private:
  static constexpr double kCell = 9.0;
  static constexpr int kColumns = static_cast<int>(kWidth / kCell) + 2;
  static constexpr int kRows = static_cast<int>(kHeight / kCell) + 2;
  Grid<double> lattice_;
};

Grid<Rgb> drawWall() {
  Random random(kSeed);
  const ValueNoise noise(random);

  // The share of each pixel that stone covers, from its depth at the pixel's centre.
  Grid<double> depths(kWidth, kHeight, -kFar);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      for (const Stone& stone : kStones) {
        depths.at(x, y) = std::max(depths.at(x, y), depth(stone, x + 0.5, y + 0.5));
      }
    }
  }
  const auto stoneAt = [&](int x, int y) {
    return depths.contains(x, y) && depths.at(x, y) > -0.5;
  };

  Grid<Rgb> wall(kWidth, kHeight, kMortar);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double d = depths.at(x, y);
      Rgb& pixel = wall.at(x, y);
      if (d <= -0.5) {
        // Light falls from the top left: mortar under or right of a stone lies in shadow.
        if (stoneAt(x, y - 1) || stoneAt(x - 1, y)) {
          pixel = kMortarShadow;
        } else if (stoneAt(x, y + 1) || stoneAt(x + 1, y)) {
          pixel = kMortarLit;
        }
      } else if (d < 0.5) {
        const int parts = std::clamp(static_cast<int>((d + 0.5) * (kBlends + 1)), 1, kBlends);
        pixel = blend(kStoneDark, kMortarShadow, parts, kBlends + 1);
      } else if (d < kRim) {
        pixel = kStoneDark;
      } else {
        const double grain = random.unit();
        if (d > kCentreDepth + kCentreSpread * noise.at(x, y)) {
          pixel = grain < 0.04 ? kStone : kStoneLight;
        } else {
          pixel = grain < 0.03 ? kStoneDark : grain < 0.06 ? kStoneLight : kStone;
        }
      }
    }
  }
  return wall;
}

} // namespace

Bytes wallBitmap() {
  const Grid<Rgb> wall = drawWall();
  constexpr std::uint32_t kStride = (kWidth * 3 + 3) / 4 * 4;
  constexpr std::uint32_t kPixelBytes = kStride * kHeight;
  constexpr std::uint32_t kHeaders = 14 + 40;

  ByteWriter out;
  out.u8('B');
  out.u8('M');
  out.u32(kHeaders + kPixelBytes);
  out.u32(0);
  out.u32(kHeaders);
  out.u32(40);
  out.u32(kWidth);
  out.u32(kHeight); // positive: bottom row first
  out.u16(1);
  out.u16(24);
  out.u32(0); // uncompressed
  out.u32(kPixelBytes);
  out.u32(0); // pixels per metre, both ways
  out.u32(0);
  out.u32(0); // no colour counts
  out.u32(0);
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb pixel = wall.at(x, y);
      out.u8(pixel.blue);
      out.u8(pixel.green);
      out.u8(pixel.red);
    }
    for (std::uint32_t pad = kWidth * 3; pad < kStride; ++pad) {
      out.u8(0);
    }
  }
  return out.take();
}

} // namespace kelvarin::picgen
