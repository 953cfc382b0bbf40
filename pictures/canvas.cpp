// The canvas, and the pictures drawn on it.
#include "pictures/grid.hpp"
#include "pictures/pictures.hpp"

#include <algorithm>

namespace kelvarin::pictures {

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
