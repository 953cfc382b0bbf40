// frmMain on Win32: one top-level window whose labels and pictures are painted on its own
// surface, with the mode text box as its only child window.
#pragma once

#include "mode/frm_main.hpp"
#include "pictures/pictures.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/accessible.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace kelvarin::win32 {

// The window's life is one mirrored pair. open() makes everything in order and stops at the
// first failure; end() is the one way out (the Exit command, the close box, Alt+F4, the
// unhandled-error report and the start-up refusal all come to it): the window goes, taking
// what lives with it, and the quit message is posted. The rest goes with this object, in the
// reverse order of its members.
class MainWindow final : public FormHost, private AccessibleHost {
public:
  MainWindow(HINSTANCE instance, Win32Platform& platform);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Opens the window and runs its message loop until the program ends; the exit code.
  int run(int showCommand);

  // Creates the window hidden, runs the Load handler, and shows the window unless that
  // ended the program. A failure is for the caller to report.
  Status open(int showCommand);
  // Null before open() and after the end.
  HWND handle() const noexcept { return window_.get(); }

  Status setSwitchCaption(std::wstring_view caption) override;
  Status setModeText(std::wstring_view text) override;
  void close() override;

private:
  // AccessibleHost
  HWND window() const noexcept override { return window_.get(); }
  HWND textBox() const noexcept override { return textBox_; }
  std::wstring_view textOf(std::size_t control) const noexcept override;
  RECT rectOf(std::size_t control) const noexcept override;
  std::optional<std::size_t> controlAt(POINT client) const noexcept override;
  void press(std::size_t control) noexcept override;
  std::optional<std::size_t> focusedLabel() const noexcept override;
  void takeFocus(std::size_t control) noexcept override;

  // Tab and Shift+Tab move the focus round the controls, whichever of them has it: the text box
  // would otherwise take them for itself. True where the message is used up.
  bool preTranslate(const MSG& message);

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  // Cracks the message's parameters and calls its handler; a failure comes back in `status`.
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, Status& status);

  // The steps of open(), in order.
  Status loadIcons();
  Status registerClass();
  Status createWindow();
  Status createTextBox();
  // Sizes everything that depends on the window's DPI: fonts, cursors, the text box, the
  // tooltips' rectangles, the pictures and the window itself (placed at `position`, or
  // centred on the screen).
  Status applyDpi(int dpi, const RECT* position);
  Status createFonts();
  Status createCursors();
  Status show(int showCommand);

  // The handlers.
  Status onPaint();
  bool onSetCursor();
  void onMouseMove(POINT point, WPARAM keys);
  void onButtonDown(POINT point);
  Status onButtonUp(POINT point);
  Status onKeyDown(WPARAM key, LPARAM flags);
  void onSetFocus();
  void onKillFocus(HWND to);
  void onUpdateUiState(WPARAM change);
  // As in dialogs, the focus cue stays hidden until the keyboard is used. The window keeps its own
  // word on it: Wine's DefWindowProc keeps none.
  void showCues(bool show);
  void onSettingChange();
  LRESULT onCtlColorStatic(HDC dc) noexcept;
  Status onDpiChanged(int dpi, const RECT& suggested);
  std::optional<LRESULT> onGetObject(WPARAM wParam, LPARAM lParam) noexcept;
  Status onPress(std::size_t control);
  void onDestroy() noexcept;

  // Runs a command unless one is running already: a click or a screen reader's press that
  // arrives while a command or its message box is up is dropped, so commands never nest.
  Status command(layout::Command command);
  void end(int exitCode);
  // The unhandled-error report, then the end.
  void reportAndEnd(const Error& error);
  // Gives the control the keyboard focus: the text box its own, a command label the window's.
  void focusOn(std::size_t control);

  // The tooltips come from the common controls, loaded on the first move onto a label that
  // has one, given as that WM_MOUSEMOVE's parameters.
  void createTooltips(POINT point, WPARAM keys);
  void fitTooltips();
  Status paint(HDC dc);
  bool hasTooltip(POINT client) const noexcept;
  // The hand where a control wants it, else null for the class's arrow.
  HCURSOR handAt(POINT client) const noexcept;
  layout::Rect pixels(const layout::Control& control) const noexcept;
  void invalidate(std::size_t control);
  HFONT fontFor(const layout::Font* font) const noexcept;

  HINSTANCE instance_;
  Win32Platform& platform_;
  FrmMain form_;
  std::array<std::wstring, layout::kControls.size()> texts_;

  // Made by open() in this order. The fonts, cursors and the common controls are used by the
  // window and its children and tooltip, so they are declared before the window and outlive
  // it.
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  WindowClass class_; // holds the icons
  int dpi_ = layout::kBaseDpi;
  UniqueFont smallFont_;
  UniqueFont plateFont_;
  UniqueFont boxFont_;
  UniqueFont tooltipFont_;
  std::array<UniqueCursor, layout::kControls.size()> cursors_;
  pictures::Canvas scaled_{0, 0}; // the pictures, composed at the window's DPI
  UniqueBitmap backBuffer_;
  void* backBits_ = nullptr;
  UniqueModule commonControls_;
  bool tooltipsTried_ = false;
  // Made when a screen reader first asks; gone when the window is.
  std::optional<Accessibility> accessibility_;
  std::optional<std::size_t> pressed_;
  // The control with the keyboard focus while the window has it, and again once it is back.
  std::size_t focus_ = layout::kTxtMode;
  bool highContrast_ = false;
  bool cues_ = false;
  bool busy_ = false;

  // Last, so that it goes first, while everything its messages reach still lives.
  UniqueWindow window_;
  HWND textBox_ = nullptr; // a child: the window destroys it
  HWND tooltip_ = nullptr; // owned by the window, which destroys it
};

} // namespace kelvarin::win32
