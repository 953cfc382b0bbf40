// Writing a GIF through giflib's low-level calls, which put the blocks in exactly the
// order given.
#include "tools/picgen/gif.hpp"

#include <gif_lib.h>

#include <string>

namespace kelvarin::picgen {
namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length) {
  auto& out = *static_cast<Bytes*>(gif->UserData);
  out.insert(out.end(), bytes, bytes + length);
  return length;
}

void check(int result, const char* what) {
  if (result != GIF_OK) {
    throw std::runtime_error(std::string("giflib failed to ") + what);
  }
}

} // namespace

Bytes gifFile(const GifImage& image) {
  std::array<GifColorType, 256> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    colours[i] = {image.palette[i].red, image.palette[i].green, image.palette[i].blue};
  }
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  if (map == nullptr) {
    throw std::runtime_error("giflib could not make the colour table");
  }
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, appendBytes, &error);
  if (gif == nullptr) {
    GifFreeMapObject(map);
    throw std::runtime_error("giflib could not start the file");
  }
  // No transparency without GIF89a, and giflib writes GIF87a unless told.
  EGifSetGifVersion(gif, true);
  const int width = image.indices.width();
  const int height = image.indices.height();
  int result = EGifPutScreenDesc(gif, width, height, 8, 0, map);
  GifFreeMapObject(map); // giflib keeps its own copy
  // Transparent flag set, disposal method 0, no user input, no delay.
  const GifByteType control[4] = {0x01, 0, 0, image.transparentIndex};
  if (result == GIF_OK) {
    result = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
  }
  if (result == GIF_OK) {
    result = EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
  }
  std::vector<GifPixelType> row(static_cast<std::size_t>(width));
  for (int y = 0; y < height && result == GIF_OK; ++y) {
    for (int x = 0; x < width; ++x) {
      row[static_cast<std::size_t>(x)] = image.indices.at(x, y);
    }
    result = EGifPutLine(gif, row.data(), width);
  }
  const int closed = EGifCloseFile(gif, &error);
  check(result, "write the picture");
  check(closed, "finish the file");
  return out;
}

} // namespace kelvarin::picgen
