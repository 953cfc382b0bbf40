// The program's window, the form frmMain, on Win32: its life and its message dispatch.
#pragma once

#include "mode/frm_main.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/accessible.hpp"
#include "window/dpi_resources.hpp"
#include "window/keyboard_focus.hpp"
#include "window/layout.hpp"
#include "window/painting.hpp"
#include "window/pointer.hpp"
#include "window/text_box.hpp"
#include "window/tooltips.hpp"
#include "window/window_class.hpp"

#include <windows.h>

#include <optional>
#include <string>

namespace kelvarin::win32 {

// One top-level window whose labels and pictures are painted on its own surface, with the mode
// text box as its only child window; painting, the pointer, keyboard focus, tooltips, DPI
// resources and screen readers each have a file pair beside this one.
//
// The window's life is one mirrored pair. open() makes everything in order and stops at the
// first failure; end() is the one way out (the Exit command, the close box, Alt+F4, Task
// Manager's End task, the unhandled-error report and the start-up refusal all come to it): the
// window goes, taking what lives with it, and the quit message is posted. While the window is
// busy, the end waits until what made it busy has returned. The rest goes with this object, in
// the reverse order of its members.
class MainWindow final : public FormHost {
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

  // FormHost
  Status setSwitchCaption(std::wstring_view caption) override;
  Status setModeText(std::wstring_view text) override;
  void close() override;

private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  // Cracks the message's parameters and calls its handler; a failure comes back in `status`.
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, Status& status);

  // The steps of open(), in order.
  Status createWindow();
  Status adoptWindowDpi();
  Status createTextBox();
  Status show(int showCommand);

  Status applyDpi(int dpi);
  // High contrast, and whether keyboard cues always show: read at the start and whenever the
  // system's settings or colours change.
  void readSystemSettings();

  // The handlers.
  Status onDpiChanged(int dpi, const RECT& suggested);
  std::optional<LRESULT> onGetObject(WPARAM wParam, LPARAM lParam) noexcept;
  Status onPress(std::size_t control);

  // Runs a command unless one is running already: a click or a screen reader's press that
  // arrives while a command or its message box is up is dropped, so commands never nest.
  Status command(layout::Command command);
  // Runs `step` with the window busy, so that no command starts inside it. An end asked for
  // meanwhile comes once it has returned, unless it failed: then the report that follows ends.
  // The window is open when it starts.
  template <typename Step> Status whileBusy(Step step);
  void end(int exitCode);
  // The unhandled-error report, then the end.
  void reportAndEnd(const Error& error);

  HINSTANCE instance_;
  Win32Platform& platform_;
  FrmMain form_;
  layout::ControlTexts texts_;

  // Whatever the window, its text box or its tooltip use is declared before the window, so
  // that it outlives them.
  MainWindowClass class_;
  DpiResources resources_;
  Painting painting_;
  Tooltips tooltips_{instance_};
  KeyboardFocus focus_{window_, textBox_, resources_};
  // Made when a screen reader first asks; gone when the window is.
  std::optional<Accessibility> accessibility_;
  Pointer pointer_;
  // Where the window is in its life: open and busy by turns, then on to its end.
  enum class Stage {
    Open,      // the player's to use
    Busy,      // the Load handler or a command runs: no command starts, and an end waits for it
    Ending,    // an end was asked for while busy: it comes once what made the window busy returns
    Reporting, // the unhandled-error report is up: nothing else is reported, nothing starts, and
               // the end comes once its box is closed
    Gone,      // WM_DESTROY has come: no screen reader's request makes the object again
  };
  Stage stage_ = Stage::Open;
  // 0, or 1 once an error has been reported: no other error is, and the program ends with it.
  int exitCode_ = 0;

  // Last, so that it goes first, while everything its messages reach still lives.
  UniqueWindow window_;
  TextBox textBox_;
};

} // namespace kelvarin::win32
