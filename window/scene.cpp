// Composing the window's pictures from the layout table and the picture records, and scaling
// the result to the window's DPI.
#include "window/scene.hpp"

#include "assets/picture_records.hpp"
#include "window/layout.hpp"

namespace kelvarin::scene {

std::optional<pictures::Canvas> compose() {
  pictures::Canvas canvas(layout::toPixels(layout::kWindow.clientWidthTwips),
                          layout::toPixels(layout::kWindow.clientHeightTwips));
  const auto wallFile = assets::recordFile(assets::frmMainPicture);
  const auto wall = wallFile ? pictures::decodeBmp(*wallFile) : std::nullopt;
  if (!wall) {
    return std::nullopt;
  }
  pictures::drawUnscaled(canvas, *wall, 0, 0);

  for (std::size_t i = layout::kControls.size(); i-- > 0;) {
    const layout::Control& control = layout::kControls[i];
    if (control.kind != layout::Kind::Picture) {
      continue;
    }
    const auto file = assets::recordFile(*control.picture);
    const auto plate = file ? pictures::decodeGif(*file) : std::nullopt;
    if (!plate) {
      return std::nullopt;
    }
    const layout::Rect r = layout::toPixels(control.twips);
    pictures::drawStretched(canvas, *plate, r.left, r.top, r.width, r.height);
  }
  return canvas;
}

pictures::Canvas resized(const pictures::Canvas& source, int width, int height) {
  pictures::Canvas out(width, height);
  for (int y = 0; y < height; ++y) {
    const int sy = y * source.height / height;
    for (int x = 0; x < width; ++x) {
      out.pixels[static_cast<std::size_t>(y * width + x)] = source.at(x * source.width / width, sy);
    }
  }
  return out;
}

} // namespace kelvarin::scene
