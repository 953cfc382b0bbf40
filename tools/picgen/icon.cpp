// kelvarin.ico: a cartoon head, front view, a blue knitted cap pulled down over its eyes, a
// cross-shaped badge on the cap's turned-up band and a broad smile below, all outlined in
// black two pixels thick. Everything around the head is transparent.
#include "tools/picgen/raster.hpp"

namespace kelvarin::picgen {
namespace {

constexpr int kSize = 32;
constexpr int kOutline = 2;

enum Colour : std::uint8_t {
  kBlack,
  kCap,
  kCapShade,
  kBadge,
  kBadgeOrange,
  kBadgeShade,
  kFace,
  kFaceShade,
  kFaceDark,
};

const std::vector<Rgb> kPalette{
    {0, 0, 0},       {68, 101, 202}, {48, 72, 145}, {255, 255, 0}, {255, 157, 0}, {182, 113, 0},
    {255, 165, 117}, {198, 125, 89}, {149, 93, 64}, {0, 0, 0},     {0, 0, 0},     {0, 0, 0},
    {0, 0, 0},       {0, 0, 0},      {0, 0, 0},     {0, 0, 0},
};

// Where (x, y)'s pixel centre lies relative to an ellipse: below 1 inside.
double ellipse(int x, int y, double cx, double cy, double rx, double ry) {
  const double dx = (x + 0.5 - cx) / rx;
  const double dy = (y + 0.5 - cy) / ry;
  return dx * dx + dy * dy;
}

// The cap's crown, its turned-up band, the face below, and the ears beside it.
bool inCrown(int x, int y) {
  return y < 12 && ellipse(x, y, 16.2, 13.0, 11.0, 10.0) < 1.0;
}
bool inBand(int x, int y) {
  return y >= 12 && y < 18 && x >= 4 && x < 28;
}
bool inFace(int x, int y) {
  return y >= 18 && ellipse(x, y, 16.0, 18.5, 10.25, 10.0) < 1.0;
}

std::uint8_t capColour(int x, int y) {
  if (inBand(x, y)) {
    // Ribbed knitting, and the band's shadowed lower edge.
    return x % 2 == 0 || y == 17 ? kCapShade : kCap;
  }
  // Knitted stitches in columns, and the crown's right side turned from the light.
  const bool stitch = x % 4 == 1 && (y + x / 4) % 2 == 0;
  const bool shaded = ellipse(x, y, 12.0, 9.5, 12.0, 10.0) > 1.0;
  return stitch || shaded ? kCapShade : kCap;
}

std::uint8_t faceColour(int x, int y) {
  // The smile: a dark open mouth rimmed in black.
  const double mouth = ellipse(x, y, 16.0, 21.5, 7.5, 5.0);
  if (y >= 22 && mouth < 1.0) {
    return mouth > 0.55 || y == 22 ? kBlack : kFaceDark;
  }
  if (ellipse(x, y, 16.0, 19.5, 1.5, 1.5) < 1.0) {
    return kFaceShade; // the nose
  }
  const bool cheek =
      ellipse(x, y, 8.5, 22.5, 1.5, 1.0) < 1.0 || ellipse(x, y, 23.5, 22.5, 1.5, 1.0) < 1.0;
  const bool shaded = ellipse(x, y, 14.5, 18.0, 10.5, 10.0) > 1.0;
  return cheek || shaded ? kFaceShade : kFace;
}

// The badge: a plus sign on the band's left, lit from the top left.
bool inBadge(int x, int y) {
  return (x >= 7 && x < 9 && y >= 12 && y < 18) || (x >= 5 && x < 11 && y >= 14 && y < 16);
}

std::uint8_t badgeColour(int x, int y) {
  if (!inBadge(x + 1, y + 1) || !inBadge(x + 1, y) || !inBadge(x, y + 1)) {
    return kBadgeShade;
  }
  return x + y < 22 ? kBadge : kBadgeOrange;
}

} // namespace

Bytes windowIcon() {
  Grid<std::uint8_t> head(kSize, kSize, 0);
  IconImage image{false,
                  4,
                  kPalette,
                  Grid<std::uint8_t>(kSize, kSize, kBlack),
                  Grid<std::uint8_t>(kSize, kSize, 1),
                  16,
                  0,
                  0};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      std::uint8_t& colour = image.colours.at(x, y);
      if (inBadge(x, y)) {
        colour = badgeColour(x, y);
      } else if (inCrown(x, y) || inBand(x, y)) {
        colour = capColour(x, y);
      } else if (inFace(x, y)) {
        colour = faceColour(x, y);
      } else {
        continue;
      }
      head.at(x, y) = 1;
    }
  }
  // The outline: every pixel within two pixels (a rounded square) of the head; black,
  // like the transparent pixels, which the mask hides.
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      for (int dy = -kOutline; dy <= kOutline; ++dy) {
        for (int dx = -kOutline; dx <= kOutline; ++dx) {
          const bool corner = dx * dx + dy * dy > kOutline * kOutline + 1;
          if (!corner && head.contains(x + dx, y + dy) && head.at(x + dx, y + dy) != 0) {
            image.transparent.at(x, y) = 0;
          }
        }
      }
    }
  }
  return iconFile(image);
}

} // namespace kelvarin::picgen
