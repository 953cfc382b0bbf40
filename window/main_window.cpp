// frmMain's window: creation and its end, painting, the pointer, clicks, tooltips, DPI changes
// and screen readers, each a small handler the window procedure calls.
#include "window/main_window.hpp"

#include "mode/texts.hpp"
#include "window/scene.hpp"
#include "platform/report.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "platform/win32/system_function.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace kelvarin::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KelvarinMain";
// A fixed single-line border with caption, system menu and close box; no minimise or
// maximise box, so the size never changes.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = 0;

constexpr UINT kDpiChanged = 0x02E0; // WM_DPICHANGED, Windows 8.1 and later
// A command label pressed by a screen reader: run as a click, once the reader's call is done.
constexpr UINT kPressControl = WM_APP;

// The focus cue keeps this far inside its label, clear of the plate's outline and round corners.
constexpr int kCueInset = 4;

static_assert(static_cast<int>(layout::SystemColour::Window) == COLOR_WINDOW &&
              static_cast<int>(layout::SystemColour::WindowText) == COLOR_WINDOWTEXT &&
              static_cast<int>(layout::SystemColour::ButtonFace) == COLOR_BTNFACE &&
              static_cast<int>(layout::SystemColour::ButtonText) == COLOR_BTNTEXT);

// Where the program's own data fails to decode: nothing the user can mend, but no crash.
Error damagedPictures() {
  return Error{ERROR_INVALID_DATA, L"The program's built-in pictures are damaged."};
}

RECT toRect(const layout::Rect& r) {
  return {r.left, r.top, r.right(), r.bottom()};
}

HBRUSH brushOf(layout::SystemColour colour) {
  return ::GetSysColorBrush(static_cast<int>(colour));
}

Status makeFont(const layout::Font& font, BYTE charset, int dpi, UniqueFont& made) {
  made.reset(::CreateFontW(-layout::fontHeight(font, dpi), 0, 0, 0, font.weight, FALSE, FALSE,
                           FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, std::wstring(font.face).c_str()));
  return check(static_cast<bool>(made));
}

bool hasFace(HFONT font, std::wstring_view face) {
  const UniqueDc dc(::CreateCompatibleDC(nullptr));
  if (!dc) {
    return true; // nothing to compare with: keep the font as asked for
  }
  const Selection selected(dc.get(), font);
  wchar_t name[LF_FACESIZE] = {};
  return ::GetTextFaceW(dc.get(), LF_FACESIZE, name) == 0 ||
         ::lstrcmpiW(name, std::wstring(face).c_str()) == 0;
}

// The font mapper weighs the character set above the face name: where the face lacks that
// set (Wine's Tahoma has no Hebrew) it would pick another face. The face matters more here,
// since every label text is plain ASCII.
Status createFont(const layout::Font& font, int dpi, UniqueFont& made) {
  Status status = makeFont(font, static_cast<BYTE>(font.charset), dpi, made);
  if (status.ok() && !hasFace(made.get(), font.face)) {
    status = makeFont(font, DEFAULT_CHARSET, dpi, made);
  }
  return status;
}

// The system's fonts are sized for the system's DPI.
Status scaledSystemFont(LOGFONTW font, int dpi, UniqueFont& made) {
  font.lfHeight = ::MulDiv(font.lfHeight, dpi, systemDpi());
  made.reset(::CreateFontIndirectW(&font));
  return check(static_cast<bool>(made));
}

Status createIcon(const pictures::IconImage& image, int size, UniqueIcon& made) {
  made.reset(::CreateIconFromResourceEx(const_cast<BYTE*>(image.image.data()),
                                        static_cast<DWORD>(image.image.size()), TRUE, 0x00030000,
                                        size, size, LR_DEFAULTCOLOR));
  return check(static_cast<bool>(made));
}

// Marks a flag for one scope, and puts back what it was.
class Flag {
public:
  explicit Flag(bool& flag) noexcept : flag_(flag), old_(std::exchange(flag, true)) {}
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;
  ~Flag() { flag_ = old_; }

private:
  bool& flag_;
  bool old_;
};

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
    if (preTranslate(message)) {
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}

Status MainWindow::open(int showCommand) {
  // No command may run inside the Load handler's message box.
  const Flag busy(busy_);
  const Status made = inOrder([&] { return loadIcons(); }, [&] { return registerClass(); },
                              [&] { return createWindow(); }, [&] { return createTextBox(); },
                              [&] { return applyDpi(windowDpi(window_.get()), nullptr); },
                              [&] { return form_.Form_Load(); });
  if (!made.ok() || !window_) {
    return made; // the Load handler may have closed the window before it was shown
  }
  return show(showCommand);
}

void MainWindow::reportAndEnd(const Error& error) {
  {
    const Flag busy(busy_);
    reportUnhandled(platform_, error, kCaption);
  }
  end(1);
}

// Where an error follows the form's own end, the second call only makes the exit code 1.
void MainWindow::end(int exitCode) {
  window_.reset(); // WM_DESTROY takes what lives with the window
  ::PostQuitMessage(exitCode);
}

void MainWindow::close() {
  end(0);
}

Status MainWindow::loadIcons() {
  const auto iconFile = assets::recordFile(assets::frmMainIcon);
  const auto icon = iconFile ? pictures::iconImage(*iconFile) : std::nullopt;
  if (!icon) {
    return damagedPictures();
  }
  return inOrder([&] { return createIcon(*icon, ::GetSystemMetrics(SM_CXICON), bigIcon_); },
                 [&] { return createIcon(*icon, ::GetSystemMetrics(SM_CXSMICON), smallIcon_); });
}

// The icons go with the class, so the window has them from its creation on.
Status MainWindow::registerClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &MainWindow::procedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = bigIcon_.get();
  windowClass.hIconSm = smallIcon_.get();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  class_ = WindowClass(windowClass);
  return check(static_cast<bool>(class_));
}

// Hidden, and sized once its DPI is known.
Status MainWindow::createWindow() {
  // WM_NCCREATE hands the window to window_.
  return check(::CreateWindowExW(kExStyle, class_.name(),
                                 std::wstring(layout::kWindow.caption).c_str(), kStyle,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_,
                                 this) != nullptr);
}

Status MainWindow::show(int showCommand) {
  platform_.setOwner(window_.get());
  onSettingChange();
  ::ShowWindow(window_.get(), showCommand);
  return check(::UpdateWindow(window_.get()) != 0);
}

Status MainWindow::createTextBox() {
  // Read-only: nothing reads the box back, and Butt rewrites it on every change.
  textBox_ =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", texts_[layout::kTxtMode].c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                        0, 0, 0, 0, window_.get(), nullptr, instance_, nullptr);
  return check(textBox_ != nullptr);
}

Status MainWindow::applyDpi(int dpi, const RECT* position) {
  dpi_ = dpi;
  const Status made = inOrder([&] { return createFonts(); }, [&] { return createCursors(); });
  if (!made.ok()) {
    return made;
  }
  ::SendMessageW(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(boxFont_.get()), FALSE);
  const layout::Rect box = pixels(layout::kControls[layout::kTxtMode]);
  if (::SetWindowPos(textBox_, nullptr, box.left, box.top, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE) == 0) {
    return lastError();
  }
  fitTooltips();

  const int width = layout::toPixels(layout::kWindow.clientWidthTwips, dpi_);
  const int height = layout::toPixels(layout::kWindow.clientHeightTwips, dpi_);
  // Composed again for each DPI rather than kept at 96 DPI as well: one picture less to hold.
  auto scene = scene::compose();
  if (!scene) {
    return damagedPictures();
  }
  scaled_ = scene->width == width && scene->height == height
                ? std::move(*scene)
                : scene::resized(*scene, width, height);
  backBuffer_.reset();
  RECT frame{0, 0, width, height};
  if (position == nullptr) {
    if (!adjustWindowRectForDpi(frame, kStyle, kExStyle, dpi_)) {
      return lastError();
    }
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    frame.left = (::GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    frame.top = (::GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    frame.right = frame.left + outerWidth;
    frame.bottom = frame.top + outerHeight;
  } else {
    frame = *position;
  }
  return check(::SetWindowPos(window_.get(), nullptr, frame.left, frame.top,
                              frame.right - frame.left, frame.bottom - frame.top,
                              SWP_NOZORDER | SWP_NOACTIVATE) != 0);
}

// The labels' fonts from the table; the text box and the tooltips keep the system's fonts for
// them. All at this window's DPI.
Status MainWindow::createFonts() {
  LOGFONTW boxFont{};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics; // built for XP: without the field Vista added, which XP refuses
  return inOrder([&] { return createFont(layout::kSmallFont, dpi_, smallFont_); },
                 [&] { return createFont(layout::kPlateFont, dpi_, plateFont_); },
                 [&] {
                   return check(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof boxFont,
                                             &boxFont) != 0);
                 },
                 [&] {
                   return check(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize,
                                                        &metrics, 0) != 0);
                 },
                 [&] { return scaledSystemFont(boxFont, dpi_, boxFont_); },
                 [&] { return scaledSystemFont(metrics.lfStatusFont, dpi_, tooltipFont_); });
}

// The hand, sized for the window's DPI like everything else on it.
Status MainWindow::createCursors() {
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (layout::kControls[i].mouseIcon == nullptr) {
      continue;
    }
    const auto file = assets::recordFile(*layout::kControls[i].mouseIcon);
    const auto cursor = file ? pictures::iconImage(*file) : std::nullopt;
    if (!cursor || !cursor->cursor) {
      return damagedPictures();
    }
    // A cursor resource starts with its hot spot, which the file keeps in its directory; the
    // system scales both with the size asked for.
    std::vector<std::uint8_t> resource = pictures::cursorResource(*cursor);
    cursors_[i].reset(::CreateIconFromResourceEx(
        resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000,
        layout::atDpi(cursor->width, dpi_), layout::atDpi(cursor->height, dpi_), LR_DEFAULTCOLOR));
    if (!cursors_[i]) {
      return lastError();
    }
  }
  return {};
}

// The tooltips come from the common controls, which cost a sixth of the program's memory.
// Tooltips are a help, not a function, so where they can't be made the window goes on
// without them.
void MainWindow::createTooltips(POINT point, WPARAM keys) {
  tooltipsTried_ = true;
  commonControls_ = loadSystemModule(L"comctl32.dll");
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = moduleFunction<InitFunction>(commonControls_.get(), "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  if (init == nullptr || init(&controls) == FALSE) {
    return;
  }
  tooltip_ =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_.get(), nullptr, instance_, nullptr);
  if (tooltip_ == nullptr) {
    return;
  }
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    const layout::Control& control = layout::kControls[i];
    if (control.tooltip.empty()) {
      continue;
    }
    // Each label is the topmost control over its whole rectangle, so the rectangle is the
    // tool; fitTooltips sets it.
    std::wstring text(control.tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // understood by every comctl32 version
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window_.get();
    tool.uId = i;
    tool.lpszText = text.data();
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  fitTooltips();
  // The tooltip watches the window's messages from now on; this move came before.
  MSG move{};
  move.hwnd = window_.get();
  move.message = WM_MOUSEMOVE;
  move.wParam = keys;
  move.lParam = MAKELPARAM(point.x, point.y);
  move.time = static_cast<DWORD>(::GetMessageTime());
  ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

// The tooltips' font and areas at the window's DPI.
void MainWindow::fitTooltips() {
  if (tooltip_ == nullptr) {
    return;
  }
  ::SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(tooltipFont_.get()), FALSE);
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (!layout::kControls[i].tooltip.empty()) {
      TTTOOLINFOW tool{};
      tool.cbSize = TTTOOLINFOW_V2_SIZE;
      tool.hwnd = window_.get();
      tool.uId = i;
      tool.rect = toRect(pixels(layout::kControls[i]));
      ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

Status MainWindow::setSwitchCaption(std::wstring_view caption) {
  texts_[layout::kLblSwitch] = caption;
  invalidate(layout::kLblSwitch);
  return {};
}

Status MainWindow::setModeText(std::wstring_view text) {
  texts_[layout::kTxtMode] = text;
  return check(::SetWindowTextW(textBox_, texts_[layout::kTxtMode].c_str()) != 0);
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
    self->textBox_ = nullptr;
    self->tooltip_ = nullptr;
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
    status = onPaint();
    return 0;
  case WM_ERASEBKGND:
    return 1; // the paint covers every pixel
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(wParam) == window_.get() && LOWORD(lParam) == HTCLIENT &&
        onSetCursor()) {
      return TRUE;
    }
    break;
  case WM_MOUSEMOVE:
    onMouseMove(pointOf(lParam), wParam);
    return 0;
  case WM_LBUTTONDOWN:
    onButtonDown(pointOf(lParam));
    return 0;
  case WM_LBUTTONUP:
    status = onButtonUp(pointOf(lParam));
    return 0;
  case WM_KEYDOWN:
    status = onKeyDown(wParam, lParam);
    break;
  case WM_SETFOCUS:
    onSetFocus();
    return 0;
  case WM_KILLFOCUS:
    onKillFocus(reinterpret_cast<HWND>(wParam));
    return 0;
  case WM_SETTINGCHANGE:
  case WM_SYSCOLORCHANGE:
    onSettingChange();
    break;
  case WM_UPDATEUISTATE:
    onUpdateUiState(wParam);
    break;
  case WM_CAPTURECHANGED:
    pressed_.reset();
    return 0;
  case WM_CTLCOLORSTATIC:
    return onCtlColorStatic(reinterpret_cast<HDC>(wParam));
  case kDpiChanged:
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
    onDestroy();
    return 0;
  default:
    break;
  }
  // A command may have closed the window.
  return window_ ? ::DefWindowProcW(window_.get(), message, wParam, lParam) : 0;
}

Status MainWindow::onPaint() {
  const PaintDc dc(window_.get());
  if (!dc) {
    return lastError();
  }
  RECT client{};
  if (::GetClientRect(window_.get(), &client) == 0) {
    return lastError();
  }
  // One blit from a memory bitmap: the window never shows a half-drawn state.
  const UniqueDc memory(::CreateCompatibleDC(dc.get()));
  if (!memory) {
    return lastError();
  }
  if (!backBuffer_) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = scaled_.width;
    info.bmiHeader.biHeight = -scaled_.height; // rows top-down, as the canvas keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    backBuffer_.reset(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &backBits_, nullptr, 0));
    if (!backBuffer_) {
      return lastError();
    }
  }
  const Selection bitmap(memory.get(), backBuffer_.get());
  if (Status painted = paint(memory.get()); !painted.ok()) {
    return painted;
  }
  return check(::BitBlt(dc.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY) !=
               0);
}

Status MainWindow::paint(HDC dc) {
  // The pictures first, or the system's colours in their place, then the labels' words over
  // them.
  const layout::Look look = layout::lookFor(highContrast_);
  ::GdiFlush();
  if (look.pictures) {
    std::copy(scaled_.pixels.begin(), scaled_.pixels.end(), static_cast<std::uint32_t*>(backBits_));
  } else if (const RECT all{0, 0, scaled_.width, scaled_.height};
             ::FillRect(dc, &all, brushOf(look.background)) == 0) {
    return lastError();
  }

  const auto focused = focusedLabel();
  const bool cue = focused && cues_;
  // Bottom of the stack first, so that each label is painted over those beneath it.
  for (std::size_t i = layout::kControls.size(); i-- > 0;) {
    const layout::Control& control = layout::kControls[i];
    RECT r = toRect(pixels(control));
    bool drawn = true;
    if (control.kind == layout::Kind::Picture && !look.pictures) {
      drawn = ::FillRect(dc, &r, brushOf(look.plate)) != 0 &&
              ::FrameRect(dc, &r, brushOf(look.plateFrame)) != 0;
    } else if (control.kind == layout::Kind::Label) {
      const Selection font(dc, fontFor(control.font));
      ::SetBkMode(dc, TRANSPARENT);
      const layout::SystemColour text =
          control.click != layout::Command::None ? look.commandText : look.otherText;
      ::SetTextColor(dc, ::GetSysColor(static_cast<int>(text)));
      const UINT align = control.align == layout::Align::Centre ? DT_CENTER : DT_LEFT;
      const int inset = layout::atDpi(kCueInset, dpi_);
      const RECT inside{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
      drawn = ::DrawTextW(dc, texts_[i].c_str(), static_cast<int>(texts_[i].size()), &r,
                          align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX) != 0 &&
              (!cue || i != *focused || ::DrawFocusRect(dc, &inside) != 0);
    }
    if (!drawn) {
      return lastError();
    }
  }
  return {};
}

HFONT MainWindow::fontFor(const layout::Font* font) const noexcept {
  return font == &layout::kPlateFont ? plateFont_.get() : smallFont_.get();
}

bool MainWindow::hasTooltip(POINT client) const noexcept {
  const auto hit = controlAt(client);
  return hit && !layout::kControls[*hit].tooltip.empty();
}

HCURSOR MainWindow::handAt(POINT client) const noexcept {
  const auto hit = controlAt(client);
  return hit && layout::kControls[*hit].pointer == layout::Pointer::Hand ? cursors_[*hit].get()
                                                                         : nullptr;
}

bool MainWindow::onSetCursor() {
  POINT point{};
  const HCURSOR hand = ::GetCursorPos(&point) != 0 && ::ScreenToClient(window_.get(), &point) != 0
                           ? handAt(point)
                           : nullptr;
  if (hand == nullptr) {
    return false;
  }
  ::SetCursor(hand);
  return true;
}

void MainWindow::onMouseMove(POINT point, WPARAM keys) {
  // The move's own position settles the pointer: the system's position, which WM_SETCURSOR
  // reads, may already be past it or not yet there.
  const HCURSOR hand = handAt(point);
  ::SetCursor(hand != nullptr
                  ? hand
                  : reinterpret_cast<HCURSOR>(::GetClassLongPtrW(window_.get(), GCLP_HCURSOR)));
  if (!tooltipsTried_ && hasTooltip(point)) {
    createTooltips(point, keys);
  }
}

// A click is a press and a release on the same control, as with any button.
void MainWindow::onButtonDown(POINT point) {
  pressed_ = controlAt(point);
  ::SetCapture(window_.get());
}

Status MainWindow::onButtonUp(POINT point) {
  const auto pressed = pressed_;
  const auto released = controlAt(point);
  if (::GetCapture() == window_.get()) {
    ::ReleaseCapture();
  }
  return pressed && pressed == released ? command(layout::kControls[*pressed].click) : Status{};
}

// Space or Enter presses the focused command label, once: the repeats of a held key do not.
Status MainWindow::onKeyDown(WPARAM key, LPARAM flags) {
  const bool repeat = (flags & (KF_REPEAT << 16)) != 0;
  return (key == VK_SPACE || key == VK_RETURN) && !repeat ? command(layout::kControls[focus_].click)
                                                          : Status{};
}

// The window holds the focus for a command label; the text box takes its own. So activation,
// which gives the window the focus, gives it back to the control that had it.
void MainWindow::onSetFocus() {
  if (focus_ == layout::kTxtMode) {
    ::SetFocus(textBox_);
  } else {
    invalidate(focus_);
    announceFocus(window_.get(), focus_);
  }
}

// The cue goes with the focus. A click in the text box takes the focus there.
void MainWindow::onKillFocus(HWND to) {
  invalidate(focus_);
  if (to == textBox_) {
    focus_ = layout::kTxtMode;
  }
}

// A read-only box keeps the window colours of an ordinary text box.
LRESULT MainWindow::onCtlColorStatic(HDC dc) noexcept {
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

// The window moved to a monitor of another DPI: the system suggests where it goes and how
// large it is there.
Status MainWindow::onDpiChanged(int dpi, const RECT& suggested) {
  const Status applied = applyDpi(dpi, &suggested);
  ::InvalidateRect(window_.get(), nullptr, FALSE);
  return applied;
}

std::optional<LRESULT> MainWindow::onGetObject(WPARAM wParam, LPARAM lParam) noexcept {
  if (!accessibility_) {
    accessibility_.emplace(static_cast<AccessibleHost&>(*this));
  }
  return accessibility_->answer(wParam, lParam);
}

Status MainWindow::onPress(std::size_t control) {
  return control < layout::kControls.size() ? command(layout::kControls[control].click) : Status{};
}

// The screen reader's object is disconnected and its apartment left while the window is
// still there to say so.
void MainWindow::onDestroy() noexcept {
  accessibility_.reset();
}

bool MainWindow::preTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      (message.hwnd != window_.get() && message.hwnd != textBox_)) {
    return false;
  }
  showCues(true);
  focusOn(layout::nextInTabOrder(focus_, ::GetKeyState(VK_SHIFT) < 0));
  return true;
}

void MainWindow::showCues(bool show) {
  cues_ = show;
  invalidate(focus_);
}

// Where another part of the system changes the window's keyboard cues (WM_CHANGEUISTATE), the
// cue follows.
void MainWindow::onUpdateUiState(WPARAM change) {
  if ((HIWORD(change) & UISF_HIDEFOCUS) != 0) {
    showCues(LOWORD(change) == UIS_CLEAR);
  }
}

// High contrast, and whether keyboard cues always show, are read at the start and whenever the
// system's settings or colours change. The text box repaints too: the window's paint would cover
// it.
void MainWindow::onSettingChange() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  highContrast_ =
      ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != 0 &&
      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  BOOL alwaysCues = FALSE;
  if (::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysCues, 0) != 0 && alwaysCues != FALSE) {
    showCues(true);
  }
  ::RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainWindow::focusOn(std::size_t control) {
  invalidate(focus_);
  focus_ = control;
  // The system sends no WM_SETFOCUS to the window that has the focus already.
  if (::SetFocus(window_.get()) == window_.get()) {
    onSetFocus();
  }
}

Status MainWindow::command(layout::Command command) {
  if (busy_) {
    return {};
  }
  const Flag busy(busy_);
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
}

std::wstring_view MainWindow::textOf(std::size_t control) const noexcept {
  return texts_[control];
}

RECT MainWindow::rectOf(std::size_t control) const noexcept {
  return toRect(pixels(layout::kControls[control]));
}

std::optional<std::size_t> MainWindow::controlAt(POINT client) const noexcept {
  return layout::hitTest(client.x, client.y, dpi_);
}

// Runs the command once the reader's call has returned, as a click would.
void MainWindow::press(std::size_t control) noexcept {
  ::PostMessageW(window_.get(), kPressControl, control, 0);
}

std::optional<std::size_t> MainWindow::focusedLabel() const noexcept {
  if (focus_ == layout::kTxtMode || ::GetFocus() != window_.get()) {
    return std::nullopt;
  }
  return focus_;
}

void MainWindow::takeFocus(std::size_t control) noexcept {
  focusOn(control);
}

layout::Rect MainWindow::pixels(const layout::Control& control) const noexcept {
  return layout::toPixels(control.twips, dpi_);
}

// The text box paints itself: the window's paint would only cover it.
void MainWindow::invalidate(std::size_t control) {
  if (window_ && layout::kControls[control].kind != layout::Kind::TextBox) {
    const RECT r = toRect(pixels(layout::kControls[control]));
    ::InvalidateRect(window_.get(), &r, FALSE);
  }
}

} // namespace kelvarin::win32
