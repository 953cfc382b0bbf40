// The main window's life: its creation, its DPI, the form's requests, its commands and its end.
#include "window/main_window.hpp"

#include "mode/texts.hpp"
#include "platform/report.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "window/failed_call.hpp"
#include "window/geometry.hpp"
#include "window/placement.hpp"
#include "window/reader_children.hpp"

#include <algorithm>
#include <utility>

namespace kelvarin::win32 {

MainWindow::MainWindow(HINSTANCE instance, Win32Platform& platform)
    : instance_(instance), platform_(platform), form_(platform, *this) {
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    texts_[i] = layout::kControls[i].text;
  }
}

int MainWindow::run(int showCommand) {
  if (const Status opened = open(showCommand); !opened.ok()) {
    reportAndEnd(opened.error());
  }
  MSG message{};
  BOOL got = 0;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (focus_.preTranslate(message)) {
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}

template <typename Step> Status MainWindow::whileBusy(Step step) {
  stage_ = Stage::Busy;
  const Status done = step();
  if (std::exchange(stage_, Stage::Open) == Stage::Ending && done.ok()) {
    end(exitCode_);
  }
  return done;
}

Status MainWindow::open(int showCommand) {
  // No command may run inside the Load handler's message box.
  const Status made = whileBusy([&] {
    // The window is made where it stays and at its size, for the DPI it will most likely
    // have, and its text box in place: every move or size of a window is a round of messages.
    return inOrder([&] { return class_.make(instance_, &MainWindow::procedure); },
                   [&] { return applyDpi(systemDpi(layout::kBaseDpi)); },
                   [&] { return createWindow(); }, [&] { return adoptWindowDpi(); },
                   [&] { return createTextBox(); }, [&] { return form_.Form_Load(); });
  });
  if (!made.ok() || !window_) {
    return made; // the Load handler may have closed the window before it was shown
  }
  return show(showCommand);
}

// The report's box keeps painting its owner, so a failure that repeats underneath it would open
// a box inside the box: only the first error is reported, and the end comes once its box is
// closed.
void MainWindow::reportAndEnd(const Error& error) {
  if (stage_ == Stage::Reporting) {
    return;
  }
  if (exitCode_ == 0) {
    exitCode_ = 1;
    const Stage was = std::exchange(stage_, Stage::Reporting);
    reportUnhandled(platform_, error, kCaption);
    stage_ = was;
  }
  end(1);
}

// While the window is busy the end waits: a command's message box has the window as its owner,
// and the command runs on once the box is closed. An error's exit code 1 stands, whether it
// comes before or after a plain end.
void MainWindow::end(int exitCode) {
  exitCode_ = std::max(exitCode_, exitCode);
  if (stage_ == Stage::Busy) {
    stage_ = Stage::Ending;
  }
  if (stage_ != Stage::Ending && stage_ != Stage::Reporting) {
    window_.reset(); // WM_DESTROY takes what lives with the window
    ::PostQuitMessage(exitCode_);
  }
}

void MainWindow::close() {
  end(0);
}

// Hidden, centred for the DPI its resources were made for.
Status MainWindow::createWindow() {
  RECT rect{};
  if (!centredRect(resources_.dpi(), rect)) {
    return lastError();
  }
  // WM_NCCREATE hands the window to window_.
  if (::CreateWindowExW(kWindowExStyle, class_.name(),
                        std::wstring(layout::kWindow.caption).c_str(), kWindowStyle, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                        instance_, this) == nullptr) {
    return lastError();
  }
  return fitClientArea(window_.get(), {rect.right - rect.left, rect.bottom - rect.top},
                       resources_.dpi());
}

// Where the window came out on a monitor of another DPI than the system's (Windows 8.1 and
// later), it is made and centred again for that one.
Status MainWindow::adoptWindowDpi() {
  const int dpi = windowDpi(window_.get(), resources_.dpi());
  if (dpi == resources_.dpi()) {
    return {};
  }
  return inOrder([&] { return applyDpi(dpi); }, [&] { return placeCentred(window_.get(), dpi); });
}

Status MainWindow::createTextBox() {
  return textBox_.create(window_.get(), instance_, texts_[layout::kTxtMode], resources_.boxFont(),
                         rectAt(layout::kControls[layout::kTxtMode], resources_.dpi()));
}

// Everything that depends on the window's DPI but its place: fonts, cursors, the pictures, and
// the text box and the tooltips that use them. The new set is made beside the one in use and
// handed over before the old one goes: where making it fails, the old set stays whole and in use.
Status MainWindow::applyDpi(int dpi) {
  DpiResources next;
  Status done = inOrder([&] { return next.make(dpi); }, [&] { return painting_.compose(dpi); });
  if (!done.ok()) {
    return done;
  }
  textBox_.setFont(next.boxFont());
  tooltips_.fit(window_.get(), next);
  bool shown = false;
  if (resources_.isHand(::GetCursor())) {
    done = pointer_.onSetCursor(window_.get(), next, shown); // off the old hand first
  }
  resources_ = std::move(next); // the old set goes as the new one takes its place
  return done.ok() ? textBox_.place(rectAt(layout::kControls[layout::kTxtMode], dpi)) : done;
}

Status MainWindow::show(int showCommand) {
  platform_.setOwner(window_.get());
  readSystemSettings();
  ::ShowWindow(window_.get(), showCommand);
  return checkCall(::UpdateWindow(window_.get()) != 0, L"UpdateWindow");
}

// The text box repaints too: the window's paint would cover it. A window not yet shown is
// painted whole when it is.
void MainWindow::readSystemSettings() {
  painting_.readHighContrast();
  focus_.readKeyboardCues();
  if (::IsWindowVisible(window_.get()) != 0) {
    ::RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

// A screen reader hears the new word, whatever pressed the switch.
Status MainWindow::setSwitchCaption(std::wstring_view caption) {
  if (texts_[layout::kLblSwitch] != caption) {
    texts_[layout::kLblSwitch] = caption;
    invalidateControl(window_.get(), layout::kLblSwitch, resources_.dpi());
    if (window_) {
      announce(EVENT_OBJECT_NAMECHANGE, window_.get(), layout::kLblSwitch);
    }
  }
  return {};
}

// The box is made showing its text: the Load handler's same text costs no round of messages.
Status MainWindow::setModeText(std::wstring_view text) {
  if (texts_[layout::kTxtMode] == text) {
    return {};
  }
  if (Status set = textBox_.setText(text); !set.ok()) {
    return set;
  }
  texts_[layout::kTxtMode] = text;
  return {};
}

// The window moved to a monitor of another DPI: the system suggests where it goes. Its size
// comes from the scene: the suggestion scales the whole window, frame and all, which leaves the
// client area a few pixels off the scene's size.
Status MainWindow::onDpiChanged(int dpi, const RECT& suggested) {
  const POINT corner{suggested.left, suggested.top};
  SIZE outer{};
  const Status applied =
      inOrder([&] { return applyDpi(dpi); }, [&] { return check(outerSize(dpi, outer)); },
              [&] { return placeAt(window_.get(), corner, outer, dpi); });
  ::InvalidateRect(window_.get(), nullptr, FALSE);
  return applied;
}

Status MainWindow::command(layout::Command command) {
  if (stage_ != Stage::Open) {
    return {};
  }
  return whileBusy([&]() -> Status {
    switch (command) {
    case layout::Command::Switch:
      return form_.lblSwitch_Click();
    case layout::Command::Run:
      return form_.lblRun_Click();
    case layout::Command::Exit:
      return form_.lblExit_Click();
    case layout::Command::None:
      break;
    }
    return {};
  });
}

} // namespace kelvarin::win32
