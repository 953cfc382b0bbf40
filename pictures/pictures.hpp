// The window's pictures decoded and composed without the system: a 24-bit BMP, our GIF, the
// single image of an ICO or CUR file, and the canvas, the one grid of pixels they are composed
// on. The BMP and the GIF are decoded straight onto the canvas as they are drawn. The program
// is built without exceptions, so a malformed file decodes to nothing; no decoder reads outside
// the bytes it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kelvarin::pictures {

// A grid of pixels: the window's surface, what the screen shows of it.
struct Canvas {
  Canvas(int canvasWidth, int canvasHeight, std::uint32_t fill = 0);

  // (x, y) must lie on the canvas.
  std::uint32_t at(int x, int y) const;

  int width;
  int height;
  std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top-down
};

// Where a picture goes on a canvas that shows a scene of sceneWidth x sceneHeight pixels
// stretched to the canvas's size: stretched to the scene's rectangle at (left, top), width x
// height. Both stretches are nearest neighbour, rounded down: canvas pixel (x, y) shows scene
// pixel (sx, sy) = (x * sceneWidth / canvas width, y * sceneHeight / canvas height), which
// inside the rectangle shows picture pixel ((sx - left) * picture width / width,
// (sy - top) * picture height / height). The rest of the canvas is left as it is.
struct Placement {
  int sceneWidth;
  int sceneHeight;
  int left;
  int top;
  int width;
  int height;
};

// An uncompressed 24-bit BMP, read where the file holds its pixels: nothing is decoded until
// it is drawn.
struct Bitmap {
  // (x, y) must lie on the bitmap.
  std::uint32_t at(int x, int y) const;

  int width;
  int height;
  std::span<const std::uint8_t> rows; // `stride` bytes apart, each pixel blue, green, red
  std::size_t stride;
  bool bottomUp; // as a positive height in the file says
};

std::optional<Bitmap> readBmp(std::span<const std::uint8_t> file);

void draw(Canvas& canvas, const Bitmap& bitmap, const Placement& placement);

// A GIF's first image as its file describes it, its pixels still compressed. It must cover the
// whole logical screen and not be interlaced; a graphic control extension before it may name a
// transparent index.
struct Gif {
  int width = 0;
  int height = 0;
  std::array<std::uint32_t, 256> colours{}; // 0x00RRGGBB
  unsigned colourCount = 0;                 // every pixel's index must lie below it
  std::optional<std::uint8_t> transparentIndex;
  std::span<const std::uint8_t> data; // from the image's LZW code size to the file's end
};

std::optional<Gif> readGif(std::span<const std::uint8_t> file);

// Takes a GIF's rows of colour indices, top-down, each as soon as it is decoded.
class GifRows {
public:
  virtual void row(int y, std::span<const std::uint8_t> indices) = 0;

protected:
  ~GifRows() = default;
};

// Decodes the image's pixels row by row into `rows`. False if the data is malformed, an index
// lies outside the colour table or the data sub-blocks are cut off; no row with a bad index
// reaches `rows`, but those before it may have.
bool decodeGif(const Gif& gif, GifRows& rows);

// Transparent pixels are not painted. False, as decodeGif, with what came before drawn.
bool draw(Canvas& canvas, const Gif& gif, const Placement& placement);

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

} // namespace kelvarin::pictures
