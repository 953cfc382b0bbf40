// frmMain's window: its creation, its end, and a small handler here or beside it per message.
#include "window/main_window.hpp"

#include "mode/texts.hpp"
#include "platform/report.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "window/failed_call.hpp"
#include "window/geometry.hpp"
#include "window/placement.hpp"
#include "window/reader_children.hpp"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace kelvarin::win32 {

namespace {

POINT pointOf(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

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
  if (Status made = inOrder([&] { return next.make(dpi); }, [&] { return painting_.compose(dpi); });
      !made.ok()) {
    return made;
  }
  textBox_.setFont(next.boxFont());
  tooltips_.fit(window_.get(), next);
  std::swap(resources_, next); // the old set goes with `next`, after the pointer has left its hand
  bool shown = false;
  return inOrder(
      [&] {
        return next.isHand(::GetCursor()) ? pointer_.onSetCursor(window_.get(), resources_, shown)
                                          : Status{};
      },
      [&] {
        return textBox_.place(rectAt(layout::kControls[layout::kTxtMode], resources_.dpi()));
      });
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
  std::wstring shown(text);
  if (Status set = textBox_.setText(shown); !set.ok()) {
    return set;
  }
  texts_[layout::kTxtMode] = std::move(shown);
  return {};
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    static_cast<void>(self->window_.release()); // the system has destroyed it
    self->textBox_.forget();
    self->tooltips_.forget();
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  Status status;
  const LRESULT result = self->onMessage(message, wParam, lParam, status);
  if (!status.ok()) {
    self->reportAndEnd(status.error());
  }
  return result;
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, Status& status) {
  switch (message) {
  case WM_PAINT:
    status = painting_.paint(window_.get(), resources_, texts_, focus_.cueLabel());
    return 0;
  case WM_ERASEBKGND:
    return 1; // the paint covers every pixel
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(wParam) == window_.get() && LOWORD(lParam) == HTCLIENT) {
      bool set = false;
      status = pointer_.onSetCursor(window_.get(), resources_, set);
      if (set) {
        return TRUE;
      }
    }
    break;
  case WM_MOUSEMOVE:
    status = pointer_.onMouseMove(window_.get(), pointOf(lParam), resources_);
    tooltips_.onMouseMove(window_.get(), pointOf(lParam), wParam, resources_);
    return 0;
  case WM_LBUTTONDOWN:
    focus_.onInput(false);
    pointer_.onButtonDown(window_.get(), pointOf(lParam), resources_);
    return 0;
  case WM_LBUTTONUP:
    if (const auto clicked = pointer_.onButtonUp(window_.get(), pointOf(lParam), resources_)) {
      status = onPress(*clicked);
    }
    return 0;
  case WM_KEYDOWN:
    status = onKeyDown(wParam, lParam);
    break;
  case WM_KEYUP:
    status = onKeyUp(wParam);
    break;
  case WM_ACTIVATE:
    if (focus_.onActivate(wParam)) {
      return 0;
    }
    break;
  case WM_SETFOCUS:
    focus_.onSetFocus();
    return 0;
  case WM_KILLFOCUS:
    focus_.onKillFocus(reinterpret_cast<HWND>(wParam));
    return 0;
  case WM_SETTINGCHANGE:
  case WM_SYSCOLORCHANGE:
    readSystemSettings();
    break;
  case WM_CHANGEUISTATE:
    focus_.onChangeUiState(wParam);
    return 0;
  case WM_UPDATEUISTATE:
    focus_.onUpdateUiState(wParam);
    break;
  case WM_QUERYUISTATE:
    return focus_.onQueryUiState(::DefWindowProcW(window_.get(), message, wParam, lParam));
  case WM_CAPTURECHANGED:
    pointer_.onCaptureChanged();
    return 0;
  case WM_CTLCOLORSTATIC:
    return painting_.textBoxColours(reinterpret_cast<HDC>(wParam));
  case kGetDpiScaledSizeMessage:
    return outerSize(static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam));
  case kDpiChangedMessage:
    status = onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  case WM_GETOBJECT:
    if (const auto answer = onGetObject(wParam, lParam)) {
      return *answer;
    }
    break;
  case kPressControl:
    status = onPress(wParam);
    return 0;
  case WM_CLOSE:
    close();
    return 0;
  case WM_DESTROY:
    // The screen reader's object is disconnected and its apartment left while the window is
    // still there to say so. Leaving the apartment may pump messages: a reader's request
    // meanwhile gets the system's object.
    stage_ = Stage::Gone;
    accessibility_.reset();
    return 0;
  default:
    break;
  }
  // A command may have closed the window.
  return window_ ? ::DefWindowProcW(window_.get(), message, wParam, lParam) : 0;
}

// Enter presses the focused command label as it goes down, as a dialog's default button does;
// Space is a button's key and presses as it comes up. The repeats of a held key do nothing.
Status MainWindow::onKeyDown(WPARAM key, LPARAM flags) {
  focus_.onInput(true);
  if ((flags & (KF_REPEAT << 16)) != 0) {
    return {};
  }
  if (key == VK_SPACE) {
    focus_.onSpaceDown();
  }
  return key == VK_RETURN ? onPress(focus_.control()) : Status{};
}

Status MainWindow::onKeyUp(WPARAM key) {
  return key == VK_SPACE && focus_.onSpaceUp() ? onPress(focus_.control()) : Status{};
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

std::optional<LRESULT> MainWindow::onGetObject(WPARAM wParam, LPARAM lParam) noexcept {
  if (stage_ == Stage::Gone || static_cast<LONG>(lParam) != OBJID_CLIENT) {
    return std::nullopt;
  }
  if (!accessibility_) {
    accessibility_.emplace(AccessibleParts{texts_, resources_, focus_, textBox_}, window_.get());
  }
  return accessibility_->answer(wParam);
}

Status MainWindow::onPress(std::size_t control) {
  return control < layout::kControls.size() ? command(layout::kControls[control].click) : Status{};
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
