// Where the keyboard focus is and goes, and when its cue shows.
#include "window/keyboard_focus.hpp"

#include "window/geometry.hpp"
#include "window/reader_children.hpp"

namespace kelvarin::win32 {

bool KeyboardFocus::preTranslate(const MSG& message) {
  // The window's own input comes to its procedure.
  if (message.hwnd == textBox_.handle() && message.hwnd != nullptr) {
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
      onInput(true);
    } else if (message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN) {
      onInput(false);
    }
  }
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      (message.hwnd != window_.get() && message.hwnd != textBox_.handle())) {
    return false;
  }
  onInput(true);
  ::SendMessageW(window_.get(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
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
    ::SetFocus(textBox_.handle());
  } else {
    invalidate(control_);
    announce(EVENT_OBJECT_FOCUS, window_.get(), control_);
  }
}

// The cue goes with the focus, and so does a Space on its way down. A click in the text box
// takes the focus there.
void KeyboardFocus::onKillFocus(HWND to) {
  invalidate(control_);
  spaceDown_ = false;
  if (to == textBox_.handle()) {
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
    ::SendMessageW(window_.get(), WM_UPDATEUISTATE, MAKEWPARAM(action, HIWORD(change)), 0);
  }
}

void KeyboardFocus::onUpdateUiState(WPARAM change) {
  const WORD action = settled(LOWORD(change), lastInputKeyboard_);
  if ((HIWORD(change) & UISF_HIDEFOCUS) != 0 && (action == UIS_SET || action == UIS_CLEAR)) {
    focusHidden_ = action == UIS_SET;
    invalidate(control_);
  }
}

LRESULT KeyboardFocus::onQueryUiState(LRESULT system) const noexcept {
  return (system & ~LRESULT{UISF_HIDEFOCUS}) | (focusHidden_ ? UISF_HIDEFOCUS : 0);
}

void KeyboardFocus::readKeyboardCues() {
  BOOL always = FALSE;
  alwaysCues_ = ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) != 0 && always != FALSE;
  invalidate(control_);
}

void KeyboardFocus::moveTo(std::size_t control) {
  invalidate(control_);
  control_ = control;
  spaceDown_ = false;
  focusControl();
}

// Straight to the control, with no stop on the window on the way to the text box: a screen
// reader would announce both.
void KeyboardFocus::focusControl() {
  const HWND window = window_.get();
  const HWND to = control_ == layout::kTxtMode ? textBox_.handle() : window;
  // The system sends no WM_SETFOCUS to the window that has the focus already.
  if (::SetFocus(to) == window && to == window) {
    onSetFocus();
  }
}

std::optional<std::size_t> KeyboardFocus::onKeyDown(WPARAM key, LPARAM flags) {
  onInput(true);
  if ((flags & (KF_REPEAT << 16)) != 0) {
    return std::nullopt;
  }
  spaceDown_ = spaceDown_ || key == VK_SPACE;
  return key == VK_RETURN ? std::optional(control_) : std::nullopt;
}

void KeyboardFocus::invalidate(std::size_t control) const {
  invalidateControl(window_.get(), control, resources_.dpi());
}

std::optional<std::size_t> KeyboardFocus::focusedLabel() const noexcept {
  if (control_ == layout::kTxtMode || ::GetFocus() != window_.get()) {
    return std::nullopt;
  }
  return control_;
}

std::optional<std::size_t> KeyboardFocus::cueLabel() const noexcept {
  return alwaysCues_ || !focusHidden_ ? focusedLabel() : std::nullopt;
}

} // namespace kelvarin::win32
