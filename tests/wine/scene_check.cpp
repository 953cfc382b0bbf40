// Holds what the screen shows of the window against the pictures it is composed of.
#include "tests/wine/scene_check.hpp"
#include "tools/driver/kelvarin.hpp"
#include "tools/driver/screen.hpp"
#include "tools/driver/wait.hpp"
#include "window/scene.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace kelvarin::e2e {

namespace {

// Left of and above the window, which is centred on a far larger screen.
constexpr POINT kOffWindow{-60, -60};

bool inAny(const std::vector<layout::Rect>& areas, int x, int y) {
  return std::any_of(areas.begin(), areas.end(),
                     [&](const layout::Rect& r) { return r.contains(x, y); });
}

// The smallest rectangle holding every pixel of `area` where `marked` says so; zero width and
// height at its corner when there is none.
template <typename Marked> layout::Rect boundsWhere(const layout::Rect& area, Marked marked) {
  int left = area.right();
  int top = area.bottom();
  int right = area.left;
  int bottom = area.top;
  for (int y = area.top; y < area.bottom(); ++y) {
    for (int x = area.left; x < area.right(); ++x) {
      if (marked(x, y)) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x + 1);
        bottom = std::max(bottom, y + 1);
      }
    }
  }
  return right > left ? layout::Rect{left, top, right - left, bottom - top}
                      : layout::Rect{area.left, area.top, 0, 0};
}

std::string hex(std::uint32_t pixel) {
  std::ostringstream out;
  out << std::hex << pixel;
  return out.str();
}

} // namespace

pictures::Canvas sceneAt(int width, int height) {
  pictures::Canvas scene(width, height);
  if (!scene::compose(scene)) {
    throw std::runtime_error("the pictures do not decode");
  }
  return scene;
}

pictures::Canvas restingPicture(const Kelvarin& app) {
  app.moveTo(kOffWindow);
  EXPECT_TRUE(waitUntil([&] { return !app.tooltipText(); }, std::chrono::seconds(3)));
  app.settle();
  // Wine can show a window a moment before its paint reaches the screen: two pictures in a row
  // must agree.
  pictures::Canvas shot = app.clientPixels();
  waitUntil(
      [&] {
        pictures::Canvas again = app.clientPixels();
        const bool same = again.pixels == shot.pixels;
        shot = std::move(again);
        return same;
      },
      std::chrono::seconds(3));
  return shot;
}

bool darkerOrSame(std::uint32_t shown, std::uint32_t picture) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (((shown >> shift) & 0xFF) > ((picture >> shift) & 0xFF)) {
      return false;
    }
  }
  return true;
}

std::string pictureMismatches(const pictures::Canvas& shot, const pictures::Canvas& expected,
                              int dpi) {
  if (shot.width != expected.width || shot.height != expected.height) {
    return "the client area is " + std::to_string(shot.width) + " x " + std::to_string(shot.height);
  }
  std::vector<layout::Rect> labels;
  layout::Rect textBox{};
  for (const layout::Control& control : layout::kControls) {
    if (control.kind == layout::Kind::Label) {
      labels.push_back(layout::toPixels(control.twips, dpi));
    } else if (control.kind == layout::Kind::TextBox) {
      textBox = layout::toPixels(control.twips, dpi);
    }
  }
  std::string found;
  int count = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const std::uint32_t shown = shot.at(x, y);
      const std::uint32_t picture = expected.at(x, y);
      if (textBox.contains(x, y) || shown == picture ||
          (inAny(labels, x, y) && darkerOrSame(shown, picture))) {
        continue;
      }
      if (++count <= 5) {
        found += " (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + hex(shown) +
                 ", not " + hex(picture) + ";";
      }
    }
  }
  return count == 0 ? std::string() : std::to_string(count) + " pixels differ:" + found;
}

layout::Rect wordBox(const pictures::Canvas& shot, const pictures::Canvas& expected,
                     const layout::Rect& area) {
  return boundsWhere(area, [&](int x, int y) {
    return x < shot.width && y < shot.height && shot.at(x, y) != expected.at(x, y);
  });
}

layout::Rect changedArea(const pictures::Canvas& a, const pictures::Canvas& b) {
  const layout::Rect box = pixelsOf("txtMode");
  return boundsWhere({0, 0, a.width, a.height},
                     [&](int x, int y) { return a.at(x, y) != b.at(x, y) && !box.contains(x, y); });
}

} // namespace kelvarin::e2e
