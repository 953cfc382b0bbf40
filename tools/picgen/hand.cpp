// hand.cur: a white hand outlined in black, its index finger pointing straight up and the
// other fingers folded, in the top-left corner. The hot spot is the fingertip on the top
// row; no pixel inverts the screen.
#include "tools/picgen/raster.hpp"

#include <algorithm>

namespace kelvarin::picgen {
namespace {

constexpr int kSize = 32;
constexpr unsigned kHotSpotX = 5;
constexpr unsigned kHotSpotY = 0;

enum Colour : std::uint8_t { kBlack, kWhite };

struct Box {
  int left;
  int top;
  int right; // exclusive
  int bottom;
  int corner; // pixels cut off each corner diagonally
};

bool inBox(const Box& box, int x, int y) {
  if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) {
    return false;
  }
  const int dx = std::min(x - box.left, box.right - 1 - x);
  const int dy = std::min(y - box.top, box.bottom - 1 - y);
  return dx + dy >= box.corner;
}

// The index finger, the three folded fingers' knuckles, the palm, the thumb folded across
// it, and the wrist.
constexpr Box kFinger{4, 1, 7, 12, 1};
constexpr Box kKnuckles[] = {{7, 7, 10, 13, 1}, {10, 8, 13, 14, 1}, {13, 9, 16, 15, 1}};
constexpr Box kPalm{4, 11, 16, 20, 2};
constexpr Box kThumb{1, 10, 5, 16, 1};
constexpr Box kWrist{6, 19, 15, 23, 0};

bool inHand(int x, int y) {
  bool inside =
      inBox(kFinger, x, y) || inBox(kPalm, x, y) || inBox(kThumb, x, y) || inBox(kWrist, x, y);
  for (const Box& knuckle : kKnuckles) {
    inside = inside || inBox(knuckle, x, y);
  }
  return inside;
}

// Black lines drawn inside the white: the gaps between the folded fingers, the thumb's edge
// and the cuff at the wrist.
bool onInnerLine(int x, int y) {
  const bool fingerGap = (x == 10 || x == 13) && y >= 9 && y < 12;
  const bool thumbEdge = x >= 2 && x < 7 && y == 15;
  const bool cuff = y == 19 && x >= 6 && x < 15;
  return fingerGap || thumbEdge || cuff;
}

} // namespace

Bytes handCursor() {
  IconImage image{true,
                  1,
                  {{0, 0, 0}, {255, 255, 255}},
                  Grid<std::uint8_t>(kSize, kSize, kBlack),
                  Grid<std::uint8_t>(kSize, kSize, 1),
                  2,
                  kHotSpotX,
                  kHotSpotY};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (inHand(x, y)) {
        image.colours.at(x, y) = onInnerLine(x, y) ? kBlack : kWhite;
        image.transparent.at(x, y) = 0;
        continue;
      }
      // The outline: black on every pixel that touches the hand, corners included.
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (inHand(x + dx, y + dy)) {
            image.transparent.at(x, y) = 0;
          }
        }
      }
    }
  }
  return iconFile(image);
}

} // namespace kelvarin::picgen
