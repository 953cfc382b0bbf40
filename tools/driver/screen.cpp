// The screen: its DC, its DPI, and where the window's controls lie on it.
#include "tools/driver/screen.hpp"

#include "tools/driver/failure.hpp"

#include <stdexcept>
#include <string>

namespace kelvarin::e2e {

namespace {

const layout::Control& controlNamed(std::string_view name) {
  for (const layout::Control& control : layout::kControls) {
    if (control.name == name) {
      return control;
    }
  }
  throw std::invalid_argument("no control named " + std::string(name));
}

} // namespace

ScreenDc::ScreenDc() : WindowDc(nullptr) {
  if (!*this) {
    fail("GetDC");
  }
}

int screenDpi() {
  return ::GetDeviceCaps(ScreenDc().get(), LOGPIXELSY);
}

layout::Rect pixelsOf(std::string_view control) {
  return pixelsOf(control, screenDpi());
}

layout::Rect pixelsOf(std::string_view control, int dpi) {
  return layout::toPixels(controlNamed(control).twips, dpi);
}

} // namespace kelvarin::e2e
