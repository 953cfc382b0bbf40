// Which pointer the window shows where, and which control a click is on.
#include "window/pointer.hpp"

namespace kelvarin::win32 {

namespace {

std::optional<std::size_t> controlAt(POINT client, const DpiResources& resources) {
  return layout::hitTest(client.x, client.y, resources.dpi());
}

// The hand where a control wants it, else null for the class's arrow.
Status handAt(POINT client, DpiResources& resources, HCURSOR& hand) {
  const auto hit = controlAt(client, resources);
  hand = nullptr;
  return hit && layout::kControls[*hit].pointer == layout::Pointer::Hand
             ? resources.handOf(*hit, hand)
             : Status{};
}

} // namespace

Status Pointer::onSetCursor(HWND window, DpiResources& resources, bool& set) const {
  POINT point{};
  HCURSOR hand = nullptr;
  Status found;
  if (::GetCursorPos(&point) != 0 && ::ScreenToClient(window, &point) != 0) {
    found = handAt(point, resources, hand);
  }
  set = hand != nullptr;
  if (set) {
    ::SetCursor(hand);
  }
  return found;
}

Status Pointer::onMouseMove(HWND window, POINT point, DpiResources& resources) const {
  // The move's own position settles the pointer: the system's position, which WM_SETCURSOR
  // reads, may already be past it or not yet there.
  HCURSOR hand = nullptr;
  Status found = handAt(point, resources, hand);
  ::SetCursor(
      hand != nullptr ? hand : reinterpret_cast<HCURSOR>(::GetClassLongPtrW(window, GCLP_HCURSOR)));
  return found;
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
