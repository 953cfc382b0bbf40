// The canvas, and the pictures drawn on it.
#include "pictures/grid.hpp"
#include "pictures/pictures.hpp"

#include <algorithm>

namespace kelvarin::pictures {
namespace {

// floor(n * numerator / denominator) for n counted up from 0 a step at a time, in 32 bits
// whatever the lengths: the product itself is never formed.
class Ratio {
public:
  Ratio(unsigned numerator, unsigned denominator)
      : whole_(numerator / denominator), part_(numerator % denominator), denominator_(denominator) {
  }

  // The value at n, which must not lie behind the one reached.
  unsigned at(unsigned n) {
    for (; n_ < n; ++n_) {
      value_ += whole_;
      rest_ += part_;
      if (rest_ >= denominator_) {
        rest_ -= denominator_;
        ++value_;
      }
    }
    return value_;
  }

private:
  unsigned whole_;
  unsigned part_;
  unsigned denominator_;
  unsigned n_ = 0;
  unsigned value_ = 0;
  unsigned rest_ = 0; // below denominator_
};

// For each canvas column, or each row, the picture's column or row it shows; -1 where the
// picture does not lie. The scene's column grows with the canvas's, so both ratios are only
// ever stepped on.
std::vector<int> shownAlong(int canvasLength, int sceneLength, int start, int length,
                            int pictureLength) {
  std::vector<int> shown(static_cast<std::size_t>(canvasLength), -1);
  if (canvasLength <= 0 || sceneLength < 0 || length <= 0 || pictureLength < 0) {
    return shown;
  }
  Ratio scene(static_cast<unsigned>(sceneLength), static_cast<unsigned>(canvasLength));
  Ratio picture(static_cast<unsigned>(pictureLength), static_cast<unsigned>(length));
  for (int c = 0; c < canvasLength; ++c) {
    const int s = static_cast<int>(scene.at(static_cast<unsigned>(c)));
    // Taken once s is past start, the difference is exact in unsigned arithmetic.
    const unsigned along = static_cast<unsigned>(s) - static_cast<unsigned>(start);
    if (s >= start && along < static_cast<unsigned>(length)) {
      shown[static_cast<std::size_t>(c)] = static_cast<int>(picture.at(along));
    }
  }
  return shown;
}

struct Shown {
  Shown(const Canvas& canvas, const Placement& place, int pictureWidth, int pictureHeight)
      : columns(shownAlong(canvas.width, place.sceneWidth, place.left, place.width, pictureWidth)),
        rows(shownAlong(canvas.height, place.sceneHeight, place.top, place.height, pictureHeight)) {
  }

  // Paints each pixel of the canvas rows that show picture row `y` as paint(pixel, picture x)
  // says.
  template <typename Paint> void paintRow(Canvas& canvas, int y, Paint paint) const {
    for (std::size_t row = 0; row < rows.size(); ++row) {
      if (rows[row] != y) {
        continue;
      }
      std::uint32_t* pixels = &canvas.pixels[row * columns.size()];
      for (std::size_t column = 0; column < columns.size(); ++column) {
        if (columns[column] >= 0) {
          paint(pixels[column], columns[column]);
        }
      }
    }
  }

  std::vector<int> columns;
  std::vector<int> rows;
};

// Draws each row as the decoder hands it on.
class GifPainter final : public GifRows {
public:
  GifPainter(Canvas& canvas, const Gif& gif, const Placement& placement)
      : canvas_(canvas), gif_(gif), shown_(canvas, placement, gif.width, gif.height) {}

  void row(int y, std::span<const std::uint8_t> indices) override {
    shown_.paintRow(canvas_, y, [&](std::uint32_t& pixel, int x) {
      const std::uint8_t index = indices[static_cast<std::size_t>(x)];
      if (index != gif_.transparentIndex) {
        pixel = gif_.colours[index];
      }
    });
  }

private:
  Canvas& canvas_;
  const Gif& gif_;
  const Shown shown_;
};

} // namespace

Canvas::Canvas(int canvasWidth, int canvasHeight, std::uint32_t fill)
    : width(std::max(canvasWidth, 0)), height(std::max(canvasHeight, 0)),
      pixels(area(width, height), fill) {}

std::uint32_t Canvas::at(int x, int y) const {
  return pixels[offset(x, y, width)];
}

void draw(Canvas& canvas, const Bitmap& bitmap, const Placement& placement) {
  const Shown shown(canvas, placement, bitmap.width, bitmap.height);
  for (int y = 0; y < bitmap.height; ++y) {
    shown.paintRow(canvas, y, [&](std::uint32_t& pixel, int x) { pixel = bitmap.at(x, y); });
  }
}

bool draw(Canvas& canvas, const Gif& gif, const Placement& placement) {
  GifPainter painter(canvas, gif, placement);
  return decodeGif(gif, painter);
}

} // namespace kelvarin::pictures
