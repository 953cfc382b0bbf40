#include "window/main_window.hpp"

#include "mode/texts.hpp"
#include "platform/report.hpp"
#include "platform/win32/system_error.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <new>

namespace kelvarin::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KelvarinMain";
// A fixed single-line border with caption, system menu and close box; no minimise or
// maximise box, so the size never changes.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;

// Until the pictures are painted: the wall's and the plates' main colours.
constexpr COLORREF kWallColour = RGB(117, 36, 44);
constexpr COLORREF kPlateColour = RGB(186, 186, 222);

RECT toRect(const layout::Rect& r) {
  return {r.left, r.top, r.right(), r.bottom()};
}

UniqueFont makeFont(const layout::Font& font, BYTE charset) {
  UniqueFont handle(::CreateFontW(-layout::fontHeight(font), 0, 0, 0, font.weight, FALSE, FALSE,
                                  FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH, std::wstring(font.face).c_str()));
  check(static_cast<bool>(handle));
  return handle;
}

bool hasFace(HFONT font, std::wstring_view face) {
  const UniqueDc dc(::CreateCompatibleDC(nullptr));
  check(static_cast<bool>(dc));
  const Selection selected(dc.get(), font);
  wchar_t name[LF_FACESIZE] = {};
  check(::GetTextFaceW(dc.get(), LF_FACESIZE, name) != 0);
  return ::lstrcmpiW(name, std::wstring(face).c_str()) == 0;
}

// The font mapper weighs the character set above the face name: where the face lacks that
// set (Wine's Tahoma has no Hebrew) it would pick another face. The face matters more here,
// since every label text is plain ASCII.
UniqueFont createFont(const layout::Font& font) {
  UniqueFont handle = makeFont(font, static_cast<BYTE>(font.charset));
  if (!hasFace(handle.get(), font.face)) {
    handle = makeFont(font, DEFAULT_CHARSET);
  }
  return handle;
}

void addTooltips(HWND window, HINSTANCE instance) {
  const HWND tooltip =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
  check(tooltip != nullptr); // owned by the window, which destroys it
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    const layout::Control& control = layout::kControls[i];
    if (control.tooltip.empty()) {
      continue;
    }
    // Each label is the topmost control over its whole rectangle, so the rectangle is the tool.
    std::wstring text(control.tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // understood by every comctl32 version
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = i;
    tool.rect = toRect(layout::toPixels(control.twips));
    tool.lpszText = text.data();
    check(::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0);
  }
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, Win32Platform& platform)
    : instance_(instance), platform_(platform), form_(platform, *this) {
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    texts_[i] = layout::kControls[i].text;
  }
}

bool MainWindow::open(int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &MainWindow::procedure;
  windowClass.hInstance = instance_;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  check(::RegisterClassExW(&windowClass) != 0);

  RECT frame{0, 0, layout::toPixels(layout::kWindow.clientWidthTwips),
             layout::toPixels(layout::kWindow.clientHeightTwips)};
  check(::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle) != 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  const HWND window =
      ::CreateWindowExW(kExStyle, kClassName, std::wstring(layout::kWindow.caption).c_str(), kStyle,
                        left, top, width, height, nullptr, nullptr, instance_, this);
  check(window != nullptr);
  createControls();

  guarded([this] { form_.Form_Load(); });
  if (!window_) {
    return false; // the Load handler ended the program before the window was ever shown
  }
  platform_.setOwner(window_.get());
  ::ShowWindow(window_.get(), showCommand);
  check(::UpdateWindow(window_.get()) != 0);
  return true;
}

void MainWindow::createControls() {
  smallFont_ = createFont(layout::kSmallFont);
  plateFont_ = createFont(layout::kPlateFont);

  const layout::Control& box = layout::kControls[layout::kTxtMode];
  const layout::Rect r = layout::toPixels(box.twips);
  // Read-only: nothing reads the box back, and Butt rewrites it on every change.
  textBox_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", texts_[layout::kTxtMode].c_str(),
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, r.left, r.top,
      r.width, r.height, window_.get(), nullptr, instance_, nullptr);
  check(textBox_ != nullptr);
  ::SendMessageW(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);

  addTooltips(window_.get(), instance_);
}

void MainWindow::setSwitchCaption(std::wstring_view caption) {
  texts_[layout::kLblSwitch] = caption;
  invalidate(layout::kLblSwitch);
}

void MainWindow::setModeText(std::wstring_view text) {
  texts_[layout::kTxtMode] = text;
  check(::SetWindowTextW(textBox_, texts_[layout::kTxtMode].c_str()) != 0);
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
    self->window_.release();
    self->textBox_ = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  self->guarded([&] { result = self->onMessage(message, wParam, lParam); });
  return result;
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_PAINT:
    onPaint();
    return 0;
  case WM_ERASEBKGND:
    return 1; // the paint covers every pixel
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(wParam) == window_.get() && LOWORD(lParam) == HTCLIENT &&
        onSetCursor()) {
      return TRUE;
    }
    break;
  case WM_LBUTTONDOWN:
    onButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_LBUTTONUP:
    onButtonUp({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_CAPTURECHANGED:
    pressed_.reset();
    return 0;
  case WM_CTLCOLORSTATIC:
    // A read-only box keeps the window colours of an ordinary text box.
    ::SetTextColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
  case WM_DESTROY:
    ::PostQuitMessage(0);
    return 0;
  default:
    break;
  }
  return ::DefWindowProcW(window_.get(), message, wParam, lParam);
}

void MainWindow::onPaint() {
  PAINTSTRUCT ps{};
  const HDC dc = ::BeginPaint(window_.get(), &ps);
  if (dc == nullptr) {
    return;
  }
  struct EndPaintOnExit {
    HWND window;
    PAINTSTRUCT& ps;
    ~EndPaintOnExit() { ::EndPaint(window, &ps); }
  } endPaint{window_.get(), ps};

  RECT client{};
  check(::GetClientRect(window_.get(), &client) != 0);
  // One blit from a memory bitmap: the window never shows a half-drawn state.
  const UniqueDc memory(::CreateCompatibleDC(dc));
  check(static_cast<bool>(memory));
  if (!backBuffer_) {
    backBuffer_ = UniqueBitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
    check(static_cast<bool>(backBuffer_));
  }
  const Selection bitmap(memory.get(), backBuffer_.get());
  paint(memory.get());
  check(::BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY) != 0);
}

void MainWindow::paint(HDC dc) {
  RECT client{};
  check(::GetClientRect(window_.get(), &client) != 0);
  ::SetDCBrushColor(dc, kWallColour);
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));

  // Bottom of the stack first, so that each control is painted over those beneath it.
  for (std::size_t i = layout::kControls.size(); i-- > 0;) {
    const layout::Control& control = layout::kControls[i];
    RECT r = toRect(layout::toPixels(control.twips));
    if (control.kind == layout::Kind::Picture) {
      ::SetDCBrushColor(dc, kPlateColour);
      ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    } else if (control.kind == layout::Kind::Label) {
      const Selection font(dc, fontFor(control.font));
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      const UINT align = control.align == layout::Align::Centre ? DT_CENTER : DT_LEFT;
      ::DrawTextW(dc, texts_[i].c_str(), static_cast<int>(texts_[i].size()), &r,
                  align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

HFONT MainWindow::fontFor(const layout::Font* font) const noexcept {
  return font == &layout::kPlateFont ? plateFont_.get() : smallFont_.get();
}

bool MainWindow::onSetCursor() {
  POINT point{};
  check(::GetCursorPos(&point) != 0);
  check(::ScreenToClient(window_.get(), &point) != 0);
  const auto hit = layout::hitTest(point.x, point.y);
  if (!hit || layout::kControls[*hit].pointer != layout::Pointer::Hand) {
    return false;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return true;
}

// A click is a press and a release on the same control, as with any button.
void MainWindow::onButtonDown(POINT point) {
  pressed_ = layout::hitTest(point.x, point.y);
  ::SetCapture(window_.get());
}

void MainWindow::onButtonUp(POINT point) {
  const auto pressed = pressed_;
  const auto released = layout::hitTest(point.x, point.y);
  if (::GetCapture() == window_.get()) {
    ::ReleaseCapture();
  }
  if (pressed && pressed == released) {
    run(layout::kControls[*pressed].click);
  }
}

void MainWindow::run(layout::Command command) {
  switch (command) {
  case layout::Command::Switch:
    form_.lblSwitch_Click();
    break;
  case layout::Command::Run:
    form_.lblRun_Click();
    break;
  case layout::Command::Exit:
    form_.lblExit_Click();
    break;
  case layout::Command::None:
    break;
  }
}

void MainWindow::invalidate(std::size_t control) {
  if (window_) {
    const RECT r = toRect(layout::toPixels(layout::kControls[control].twips));
    ::InvalidateRect(window_.get(), &r, FALSE);
  }
}

template <typename Handler> void MainWindow::guarded(Handler&& handler) noexcept {
  bool reported = false;
  try {
    handler();
  } catch (const Error& error) {
    reportUnhandled(platform_, error, kCaption);
    reported = true;
  } catch (const std::bad_alloc&) {
    reportUnhandled(platform_,
                    Error(ERROR_NOT_ENOUGH_MEMORY, systemMessage(ERROR_NOT_ENOUGH_MEMORY)),
                    kCaption);
    reported = true;
  } catch (const std::exception& error) {
    const std::string what = error.what();
    reportUnhandled(platform_, Error(ERROR_INTERNAL_ERROR, std::wstring(what.begin(), what.end())),
                    kCaption);
    reported = true;
  }
  // Once the program has ended, the window goes at once: no further event reaches a handler.
  if ((reported || form_.ended()) && window_ && !closing_) {
    closing_ = true;
    ::DestroyWindow(window_.get());
  }
}

} // namespace kelvarin::win32
