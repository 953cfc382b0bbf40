// The controls a screen reader tells apart, as the children of the window's accessible object,
// and the events it is told of them.
#pragma once

#include "window/layout.hpp"

#include <windows.h>

#include <algorithm>
#include <array>

namespace kelvarin::win32 {

// A reader tells apart every control but the plates, which are only pictures under the labels.
constexpr bool readerSees(const layout::Control& control) {
  return control.kind != layout::Kind::Picture;
}

// The children, in stacking order: child id k is kChildren[k - 1].
inline constexpr auto kChildren = [] {
  std::array<std::size_t,
             std::count_if(layout::kControls.begin(), layout::kControls.end(), readerSees)>
      children{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (readerSees(layout::kControls[i])) {
      children[n++] = i;
    }
  }
  return children;
}();

inline constexpr long kChildCount = static_cast<long>(kChildren.size());

// The child id of a control; the object itself for a plate.
inline long childIdOfControl(std::size_t control) {
  const auto* at = std::find(kChildren.begin(), kChildren.end(), control);
  return at != kChildren.end() ? static_cast<long>(at - kChildren.begin()) + 1 : CHILDID_SELF;
}

// Tells screen readers of an event on a painted control (EVENT_OBJECT_FOCUS when a command
// label takes the keyboard focus, EVENT_OBJECT_NAMECHANGE when its words change). The text box
// is a window of its own, for which the system tells them.
inline void announce(DWORD event, HWND window, std::size_t control) noexcept {
  ::NotifyWinEvent(event, window, OBJID_CLIENT, childIdOfControl(control));
}

} // namespace kelvarin::win32
