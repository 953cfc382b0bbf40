// Which pointer the window shows where, and which control a click is on.
#include "window/pointer.hpp"

namespace kelvarin::win32 {

namespace {

std::optional<std::size_t> controlAt(POINT client, const DpiResources& resources) {
  return layout::hitTest(client.x, client.y, resources.dpi());
}

} // namespace

Status Pointer::onSetCursor(HWND window, DpiResources& resources, bool& set) const {
  POINT point{};
  set = ::GetCursorPos(&point) != 0 && ::ScreenToClient(window, &point) != 0;
  return set ? show(window, point, resources) : Status{};
}

Status Pointer::show(HWND window, POINT client, DpiResources& resources) const {
  const auto hit = controlAt(client, resources);
  HCURSOR hand = nullptr;
  Status found = hit && layout::kControls[*hit].pointer == layout::Pointer::Hand
                     ? resources.handOf(*hit, hand)
                     : Status{};
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
