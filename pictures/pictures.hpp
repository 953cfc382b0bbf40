// The window's pictures decoded and composed without the system: a 24-bit BMP, our GIF, the
// single image of an ICO or CUR file, and the canvas, the one grid of pixels they are composed
// on. The program is built without exceptions, so a malformed file decodes to nothing; no
// decoder reads outside the bytes it is given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kelvarin::pictures {

// A grid of pixels: a decoded bitmap, the window's surface, what the screen shows of it.
struct Canvas {
  Canvas(int canvasWidth, int canvasHeight, std::uint32_t fill = 0);

  // (x, y) must lie on the canvas.
  std::uint32_t at(int x, int y) const;

  int width;
  int height;
  std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top-down
};

// An uncompressed 24-bit BMP, rows stored bottom-up (or top-down, for a negative height).
std::optional<Canvas> decodeBmp(std::span<const std::uint8_t> file);

struct GifPicture {
  int width = 0;
  int height = 0;
  std::array<std::uint32_t, 256> colours{}; // 0x00RRGGBB
  std::vector<std::uint8_t> indices;        // one per pixel, rows top-down
  std::optional<std::uint8_t> transparentIndex;
};

// A GIF's first image. It must cover the whole logical screen and not be interlaced, and
// every pixel's index must lie in its colour table; a graphic control extension before it
// may name a transparent index.
std::optional<GifPicture> decodeGif(std::span<const std::uint8_t> file);

// The only image of an ICO or CUR file: the device-independent bitmap the system's
// CreateIconFromResourceEx takes, and for a cursor its hot spot.
struct IconImage {
  bool cursor = false;
  int width = 0;
  int height = 0;
  std::uint16_t hotSpotX = 0;
  std::uint16_t hotSpotY = 0;
  std::span<const std::uint8_t> image;
};

std::optional<IconImage> iconImage(std::span<const std::uint8_t> file);

// A cursor resource as CreateIconFromResourceEx takes it with fIcon false: the hot spot as
// two little-endian 16-bit words, then the image.
std::vector<std::uint8_t> cursorResource(const IconImage& cursor);

// Copies the picture unscaled with its top-left corner at (left, top), clipped to the canvas.
void drawUnscaled(Canvas& canvas, const Canvas& picture, int left, int top);

// Stretches the picture to the rectangle, nearest neighbour: destination pixel (dx, dy) of
// the rectangle shows source pixel (dx * width / destWidth, dy * height / destHeight),
// rounded down. Transparent pixels are not painted; the rest is clipped to the canvas.
void drawStretched(Canvas& canvas, const GifPicture& picture, int destLeft, int destTop,
                   int destWidth, int destHeight);

} // namespace kelvarin::pictures
