// Which control of the layout table lies under a point of the client area.
#include "window/layout.hpp"

namespace kelvarin::layout {

std::optional<std::size_t> hitTest(int x, int y, int dpi) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (toPixels(kControls[i].twips, dpi).contains(x, y)) {
      return i;
    }
  }
  return std::nullopt;
}

} // namespace kelvarin::layout
