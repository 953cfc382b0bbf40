// The keyboard focus, which Tab moves round the text box and command labels, its cue, and the
// Space key that presses the label with it.
#pragma once

#include "window/layout.hpp"

#include <windows.h>

#include <optional>
#include <utility>

namespace kelvarin::win32 {

// What the focus needs of the window.
class FocusHost {
public:
  virtual HWND window() const noexcept = 0;
  virtual HWND textBox() const noexcept = 0;
  // Repaints the control.
  virtual void invalidate(std::size_t control) = 0;

protected:
  ~FocusHost() = default;
};

// The window holds the focus for a command label; the text box takes its own. The dotted cue
// on a label stays hidden, as in dialogs, until the keyboard is used.
class KeyboardFocus {
public:
  explicit KeyboardFocus(FocusHost& host) noexcept : host_(host) {}
  KeyboardFocus(const KeyboardFocus&) = delete;
  KeyboardFocus& operator=(const KeyboardFocus&) = delete;

  // Tab and Shift+Tab move the focus round the controls, whichever of them has it: the text box
  // would otherwise take them for itself. True where the message is used up.
  bool preTranslate(const MSG& message);
  void onSetFocus();
  void onKillFocus(HWND to);
  void onUpdateUiState(WPARAM change);
  // Where the system's settings say keyboard cues always show, the cue shows from now on.
  void readKeyboardCues();
  // Gives the control the keyboard focus: the text box its own, a command label the window's.
  void moveTo(std::size_t control);
  // Space presses the label as a button's does: as it comes up after going down here, while
  // the focus stayed on the label. A Space that went down in another window does nothing.
  void onSpaceDown() noexcept { spaceDown_ = true; }
  // True where this completes a press.
  bool onSpaceUp() noexcept { return std::exchange(spaceDown_, false); }

  // The control with the focus while the window has it, and again once it is back.
  std::size_t control() const noexcept { return control_; }
  // The command label with the focus, while the window has it.
  std::optional<std::size_t> focusedLabel() const noexcept;
  // The label the cue is drawn on, if any.
  std::optional<std::size_t> cueLabel() const noexcept;

private:
  // The window keeps its own word on the cue: Wine's DefWindowProc keeps none.
  void showCues(bool show);

  FocusHost& host_;
  std::size_t control_ = layout::kTxtMode;
  bool cues_ = false;
  bool spaceDown_ = false;
};

} // namespace kelvarin::win32
