// The window's message dispatch: the window procedure, which cracks each message's parameters
// and calls its handler here or in the room beside it.
#include "window/main_window.hpp"

#include "window/placement.hpp"

#include <windowsx.h>

namespace kelvarin::win32 {

namespace {

POINT pointOf(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

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
    if (const auto pressed = focus_.onKeyDown(wParam, lParam)) {
      status = onPress(*pressed);
    }
    break;
  case WM_KEYUP:
    if (const auto pressed = focus_.onKeyUp(wParam)) {
      status = onPress(*pressed);
    }
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

} // namespace kelvarin::win32
