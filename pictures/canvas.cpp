// The canvas, and the pictures drawn on it.
#include "pictures/grid.hpp"
#include "pictures/pictures.hpp"

#include <algorithm>

namespace kelvarin::pictures {
namespace {

// For each canvas column, or each row, the picture's column or row it shows; -1 where the
// picture does not lie.
std::vector<int> shownAlong(int canvasLength, int sceneLength, int start, int length,
                            int pictureLength) {
  std::vector<int> shown(static_cast<std::size_t>(canvasLength));
  for (int c = 0; c < canvasLength; ++c) {
    const std::int64_t s = std::int64_t{c} * sceneLength / canvasLength - start;
    shown[static_cast<std::size_t>(c)] =
        s >= 0 && s < length ? static_cast<int>(s * pictureLength / length) : -1;
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
