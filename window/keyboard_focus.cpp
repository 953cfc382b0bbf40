// Where the keyboard focus is and goes, and when its cue shows.
#include "window/keyboard_focus.hpp"

#include "window/reader_children.hpp"

namespace kelvarin::win32 {

bool KeyboardFocus::preTranslate(const MSG& message) {
  // The window's own input comes to its procedure.
  if (message.hwnd == host_.textBox() && message.hwnd != nullptr) {
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
      onInput(true);
    } else if (message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN) {
      onInput(false);
    }
  }
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      (message.hwnd != host_.window() && message.hwnd != host_.textBox())) {
    return false;
  }
  onInput(true);
  ::SendMessageW(host_.window(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  moveTo(layout::nextInTabOrder(control_, ::GetKeyState(VK_SHIFT) < 0));
  return true;
}

bool KeyboardFocus::onActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE || HIWORD(state) != 0) {
    return false;
  }
  focusControl();
  return true;
}

// The window given the focus by another way gives it on to the text box where that has it.
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

namespace {

// UIS_INITIALIZE follows the last input: shown after a key, hidden after the mouse.
WORD settled(WORD action, bool lastInputKeyboard) {
  return action != UIS_INITIALIZE ? action : lastInputKeyboard ? UIS_CLEAR : UIS_SET;
}

} // namespace

void KeyboardFocus::onChangeUiState(WPARAM change) {
  const WORD action = settled(LOWORD(change), lastInputKeyboard_);
  if (action == UIS_SET || action == UIS_CLEAR) {
    ::SendMessageW(host_.window(), WM_UPDATEUISTATE, MAKEWPARAM(action, HIWORD(change)), 0);
  }
}

void KeyboardFocus::onUpdateUiState(WPARAM change) {
  const WORD action = settled(LOWORD(change), lastInputKeyboard_);
  if ((HIWORD(change) & UISF_HIDEFOCUS) != 0 && (action == UIS_SET || action == UIS_CLEAR)) {
    focusHidden_ = action == UIS_SET;
    host_.invalidate(control_);
  }
}

LRESULT KeyboardFocus::onQueryUiState(LRESULT system) const noexcept {
  return (system & ~LRESULT{UISF_HIDEFOCUS}) | (focusHidden_ ? UISF_HIDEFOCUS : 0);
}

void KeyboardFocus::readKeyboardCues() {
  BOOL always = FALSE;
  alwaysCues_ = ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) != 0 && always != FALSE;
  host_.invalidate(control_);
}

void KeyboardFocus::moveTo(std::size_t control) {
  host_.invalidate(control_);
  control_ = control;
  spaceDown_ = false;
  focusControl();
}

// Straight to the control, with no stop on the window on the way to the text box: a screen
// reader would announce both.
void KeyboardFocus::focusControl() {
  const HWND window = host_.window();
  const HWND to = control_ == layout::kTxtMode ? host_.textBox() : window;
  // The system sends no WM_SETFOCUS to the window that has the focus already.
  if (::SetFocus(to) == window && to == window) {
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
  return alwaysCues_ || !focusHidden_ ? focusedLabel() : std::nullopt;
}

} // namespace kelvarin::win32
