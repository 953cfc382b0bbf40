// Which pointer the window shows where, and which control a click is on.
#include "window/pointer.hpp"

namespace kelvarin::win32 {

namespace {

std::optional<std::size_t> controlAt(POINT client, const DpiResources& resources) {
  return layout::hitTest(client.x, client.y, resources.dpi());
}

// The hand where a control wants it, else null for the class's arrow.
HCURSOR handAt(POINT client, const DpiResources& resources) {
  const auto hit = controlAt(client, resources);
  return hit && layout::kControls[*hit].pointer == layout::Pointer::Hand ? resources.handOf(*hit)
                                                                         : nullptr;
}

} // namespace

bool Pointer::onSetCursor(HWND window, const DpiResources& resources) const {
  POINT point{};
  const HCURSOR hand = ::GetCursorPos(&point) != 0 && ::ScreenToClient(window, &point) != 0
                           ? handAt(point, resources)
                           : nullptr;
  if (hand == nullptr) {
    return false;
  }
  ::SetCursor(hand);
  return true;
}

void Pointer::onMouseMove(HWND window, POINT point, const DpiResources& resources) const {
  // The move's own position settles the pointer: the system's position, which WM_SETCURSOR
  // reads, may already be past it or not yet there.
  const HCURSOR hand = handAt(point, resources);
  ::SetCursor(
      hand != nullptr ? hand : reinterpret_cast<HCURSOR>(::GetClassLongPtrW(window, GCLP_HCURSOR)));
}

void Pointer::onButtonDown(HWND window, POINT point, const DpiResources& resources) {
  pressed_ = controlAt(point, resources);
  ::SetCapture(window);
}

std::optional<std::size_t> Pointer::onButtonUp(HWND window, POINT point,
                                               const DpiResources& resources) {
  const auto pressed = pressed_;
  const auto released = controlAt(point, resources);
  if (::GetCapture() == window) {
    ::ReleaseCapture();
  }
  return pressed && pressed == released ? pressed : std::nullopt;
}

} // namespace kelvarin::win32
