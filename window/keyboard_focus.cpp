// Where the keyboard focus is and goes, and when its cue shows.
#include "window/keyboard_focus.hpp"

#include "window/accessible_client.hpp"

namespace kelvarin::win32 {

bool KeyboardFocus::preTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      (message.hwnd != host_.window() && message.hwnd != host_.textBox())) {
    return false;
  }
  showCues(true);
  moveTo(layout::nextInTabOrder(control_, ::GetKeyState(VK_SHIFT) < 0));
  return true;
}

// Activation, which gives the window the focus, gives it back to the control that had it.
void KeyboardFocus::onSetFocus() {
  if (control_ == layout::kTxtMode) {
    ::SetFocus(host_.textBox());
  } else {
    host_.invalidate(control_);
    announce(EVENT_OBJECT_FOCUS, host_.window(), control_);
  }
}

// The cue goes with the focus, and so does a Space on its way down. A click in the text box
// takes the focus there.
void KeyboardFocus::onKillFocus(HWND to) {
  host_.invalidate(control_);
  spaceDown_ = false;
  if (to == host_.textBox()) {
    control_ = layout::kTxtMode;
  }
}

// Where another part of the system changes the window's keyboard cues (WM_CHANGEUISTATE), the
// cue follows.
void KeyboardFocus::onUpdateUiState(WPARAM change) {
  if ((HIWORD(change) & UISF_HIDEFOCUS) != 0) {
    showCues(LOWORD(change) == UIS_CLEAR);
  }
}

void KeyboardFocus::readKeyboardCues() {
  BOOL alwaysCues = FALSE;
  if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysCues, 0) != 0 && alwaysCues != FALSE) {
    showCues(true);
  }
}

void KeyboardFocus::moveTo(std::size_t control) {
  host_.invalidate(control_);
  control_ = control;
  spaceDown_ = false;
  // The system sends no WM_SETFOCUS to the window that has the focus already.
  if (::SetFocus(host_.window()) == host_.window()) {
    onSetFocus();
  }
}

std::optional<std::size_t> KeyboardFocus::focusedLabel() const noexcept {
  if (control_ == layout::kTxtMode || ::GetFocus() != host_.window()) {
    return std::nullopt;
  }
  return control_;
}

std::optional<std::size_t> KeyboardFocus::cueLabel() const noexcept {
  return cues_ ? focusedLabel() : std::nullopt;
}

void KeyboardFocus::showCues(bool show) {
  cues_ = show;
  host_.invalidate(control_);
}

} // namespace kelvarin::win32
