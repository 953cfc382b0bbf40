// The keyboard focus, which Tab moves round the text box and command labels, its cue, and the
// Space key that presses the label with it.
#pragma once

#include "platform/win32/handles.hpp"
#include "window/dpi_resources.hpp"
#include "window/layout.hpp"
#include "window/text_box.hpp"

#include <windows.h>

#include <optional>
#include <utility>

namespace kelvarin::win32 {

// The window holds the focus for a command label; the text box takes its own. The dotted cue
// on a label follows the window's UI state, as in dialogs: hidden until the keyboard is used,
// unless the system's settings say keyboard cues always show.
class KeyboardFocus {
public:
  // The window, its text box and its DPI resources, which it reaches as they change.
  KeyboardFocus(const UniqueWindow& window, const TextBox& textBox,
                const DpiResources& resources) noexcept
      : window_(window), textBox_(textBox), resources_(resources) {}
  KeyboardFocus(const KeyboardFocus&) = delete;
  KeyboardFocus& operator=(const KeyboardFocus&) = delete;

  // Tab and Shift+Tab move the focus round the controls, whichever of them has it: the text box
  // would otherwise take them for itself. True where the message is used up. The text box's
  // input is noted on the way.
  bool preTranslate(const MSG& message);
  // WM_ACTIVATE: on activation the focus goes straight back to the control that had it, as a
  // dialog gives back its saved focus. True where that is done, and DefWindowProc, which would
  // give it to the window first, is left out.
  bool onActivate(WPARAM state);
  void onSetFocus();
  void onKillFocus(HWND to);
  // A key or a mouse button went down: what UIS_INITIALIZE settles the cue by.
  void onInput(bool keyboard) noexcept { lastInputKeyboard_ = keyboard; }
  // WM_CHANGEUISTATE, which the window as a top-level one turns into WM_UPDATEUISTATE for itself
  // and its children, as DefWindowProc does on Windows.
  void onChangeUiState(WPARAM change);
  // WM_UPDATEUISTATE, which the window then passes on to DefWindowProc.
  void onUpdateUiState(WPARAM change);
  // WM_QUERYUISTATE: `system` is DefWindowProc's answer, which holds no focus state under Wine.
  LRESULT onQueryUiState(LRESULT system) const noexcept;
  // Whether the system's settings say keyboard cues always show, read at the start and whenever
  // they change.
  void readKeyboardCues();
  // Gives the control the keyboard focus: the text box its own, a command label the window's.
  void moveTo(std::size_t control);
  // WM_KEYDOWN and WM_KEYUP of the window: the control they press, if any. Enter presses as it
  // goes down, as a dialog's default button does; Space is a button's key and presses as it
  // comes up after going down here, while the focus stayed on the label. A Space that went down
  // in another window does nothing, nor do the repeats of a held key.
  std::optional<std::size_t> onKeyDown(WPARAM key, LPARAM flags);
  std::optional<std::size_t> onKeyUp(WPARAM key) noexcept {
    return key == VK_SPACE && std::exchange(spaceDown_, false) ? std::optional(control_)
                                                               : std::nullopt;
  }

  // The control with the focus while the window has it, and again once it is back.
  std::size_t control() const noexcept { return control_; }
  // The command label with the focus, while the window has it.
  std::optional<std::size_t> focusedLabel() const noexcept;
  // The label the cue is drawn on, if any.
  std::optional<std::size_t> cueLabel() const noexcept;

private:
  void focusControl();
  void invalidate(std::size_t control) const;

  const UniqueWindow& window_;
  const TextBox& textBox_;
  const DpiResources& resources_;
  std::size_t control_ = layout::kTxtMode;
  // The window's UI state keeps focus indicators hidden: kept here too, as Wine's DefWindowProc
  // keeps none.
  bool focusHidden_ = true;
  bool alwaysCues_ = false;
  bool lastInputKeyboard_ = false;
  bool spaceDown_ = false;
};

} // namespace kelvarin::win32
