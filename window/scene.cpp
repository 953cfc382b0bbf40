// Composing the window's pictures from the layout table and the picture records.
#include "window/scene.hpp"

#include "assets/picture_records.hpp"
#include "window/layout.hpp"

namespace kelvarin::scene {

bool compose(pictures::Canvas& canvas) {
  const int width = layout::toPixels(layout::kWindow.clientWidthTwips);
  const int height = layout::toPixels(layout::kWindow.clientHeightTwips);
  const auto wallFile = assets::recordFile(assets::frmMainPicture);
  const auto wall = wallFile ? pictures::readBmp(*wallFile) : std::nullopt;
  if (!wall) {
    return false;
  }
  pictures::draw(canvas, *wall, {width, height, 0, 0, wall->width, wall->height});

  for (std::size_t i = layout::kControls.size(); i-- > 0;) {
    const layout::Control& control = layout::kControls[i];
    if (control.kind != layout::Kind::Picture) {
      continue;
    }
    const auto file = assets::recordFile(*control.picture);
    const auto plate = file ? pictures::readGif(*file) : std::nullopt;
    const layout::Rect r = layout::toPixels(control.twips);
    if (!plate ||
        !pictures::draw(canvas, *plate, {width, height, r.left, r.top, r.width, r.height})) {
      return false;
    }
  }
  return true;
}

} // namespace kelvarin::scene
