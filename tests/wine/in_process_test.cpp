// The window opened inside the test's own process, where what no other process can reach is
// in reach: its icon and hand cursor as the system holds them, a move to a monitor of another
// DPI (WM_DPICHANGED and the rectangle it suggests), and the COM apartment a screen reader's
// request puts the window's thread in.
#include "assets/picture_records.hpp"
#include "pictures/pictures.hpp"
#include "platform/win32/system_function.hpp"
#include "tests/wine/expected.hpp"
#include "tests/wine/scene_check.hpp"
#include "tools/driver/game_folder.hpp"
#include "tools/driver/keyboard_cues.hpp"
#include "tools/driver/pixels.hpp"
#include "tools/driver/screen.hpp"
#include "tools/driver/text.hpp"
#include "window/main_window.hpp"
#include "window/placement.hpp"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kelvarin::e2e {
namespace {

// The current directory for as long as this lives: the window looks for the game there.
class CurrentDirectory {
public:
  explicit CurrentDirectory(const std::wstring& path) {
    old_.resize(MAX_PATH);
    old_.resize(::GetCurrentDirectoryW(MAX_PATH, old_.data()));
    if (::SetCurrentDirectoryW(path.c_str()) == 0) {
      throw std::runtime_error("SetCurrentDirectoryW");
    }
  }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;
  ~CurrentDirectory() { ::SetCurrentDirectoryW(old_.c_str()); }

private:
  std::wstring old_;
};

struct IconBitmaps {
  SIZE size{};
  POINT hotSpot{};
  bool isIcon = false;
};

IconBitmaps bitmapsOf(HICON icon) {
  ICONINFO info{};
  if (::GetIconInfo(icon, &info) == 0) {
    throw std::runtime_error("GetIconInfo");
  }
  const win32::UniqueBitmap mask(info.hbmMask);
  const win32::UniqueBitmap colour(info.hbmColor);
  BITMAP bitmap{};
  ::GetObjectW(mask.get(), sizeof bitmap, &bitmap);
  // A monochrome icon keeps its image under its mask, in a bitmap twice as high.
  return {{bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2},
          {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)},
          info.fIcon != FALSE};
}

// The picture the file's image gives over `background`: its palette colours where the mask
// is clear, the background where it is set.
pictures::Canvas drawnFromFile(const pictures::IconImage& image, std::uint32_t background) {
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.image.data());
  const int bits = header->biBitCount;
  const auto* palette = reinterpret_cast<const RGBQUAD*>(image.image.data() + header->biSize);
  const std::uint8_t* colours = reinterpret_cast<const std::uint8_t*>(palette + (1 << bits));
  const std::size_t colourStride = (static_cast<std::size_t>(image.width * bits) + 31) / 32 * 4;
  const std::uint8_t* mask = colours + colourStride * static_cast<std::size_t>(image.height);
  const std::size_t maskStride = (static_cast<std::size_t>(image.width) + 31) / 32 * 4;
  pictures::Canvas out(image.width, image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(image.height - 1 - y); // bottom-up
    for (int x = 0; x < image.width; ++x) {
      const auto bit = static_cast<std::size_t>(x * bits);
      const int shift = 8 - bits - static_cast<int>(bit % 8);
      const int index = (colours[row * colourStride + bit / 8] >> shift) & ((1 << bits) - 1);
      const bool clear =
          ((mask[row * maskStride + static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1) != 0;
      const RGBQUAD c = palette[index];
      out.pixels[static_cast<std::size_t>(y * image.width + x)] =
          clear ? background
                : static_cast<std::uint32_t>(c.rgbRed << 16 | c.rgbGreen << 8 | c.rgbBlue);
    }
  }
  return out;
}

pictures::Canvas drawnBySystem(HICON icon, int size, std::uint32_t background) {
  const DibSection dib(size, size);
  const win32::UniqueBrush brush(
      ::CreateSolidBrush(RGB(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF)));
  const RECT all{0, 0, size, size};
  ::FillRect(dib.dc(), &all, brush.get());
  ::DrawIconEx(dib.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  return dib.pixels();
}

// Both the picture and the mask: over black and over white the system draws what the file
// holds.
void expectDrawnAsInFile(HICON icon, std::span<const std::uint8_t> record) {
  const auto file = assets::recordFile(record);
  const auto image = file ? pictures::iconImage(*file) : std::nullopt;
  ASSERT_TRUE(image);
  for (const std::uint32_t background : {0x000000u, 0xFFFFFFu}) {
    const pictures::Canvas drawn = drawnBySystem(icon, image->width, background);
    EXPECT_EQ(drawn.pixels, drawnFromFile(*image, background).pixels)
        << "over " << std::hex << background;
  }
}

class InProcess : public testing::Test {
protected:
  void SetUp() override {
    const Status opened = window_.open(SW_SHOWNOACTIVATE);
    ASSERT_TRUE(opened.ok()) << opened.error().code << ": " << utf8(opened.error().description);
    handle_ = window_.handle();
    ASSERT_NE(handle_, nullptr);
  }

  // The pointer the window sets with the system's pointer over that client point.
  HCURSOR pointerAt(POINT client) const {
    POINT screen = client;
    ::ClientToScreen(handle_, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(handle_, WM_SETCURSOR, reinterpret_cast<WPARAM>(handle_),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  }

  void click(POINT client) const {
    const LPARAM at = MAKELPARAM(client.x, client.y);
    ::SendMessageW(handle_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(handle_, WM_LBUTTONUP, 0, at);
  }

  std::wstring modeText() const {
    wchar_t text[64] = {};
    ::GetWindowTextW(::FindWindowExW(handle_, nullptr, L"Edit", nullptr), text, 64);
    return text;
  }

  GameFolder folder_{GameFolder::Game::Installed};
  CurrentDirectory current_{folder_.path()};
  win32::Win32Platform platform_;
  win32::MainWindow window_{::GetModuleHandleW(nullptr), platform_};
  HWND handle_ = nullptr;
};

POINT centre(const layout::Rect& r) {
  return {r.left + r.width / 2, r.top + r.height / 2};
}

int fontHeightOf(HWND window) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0));
  return handle != nullptr && ::GetObjectW(handle, sizeof font, &font) != 0 ? font.lfHeight : 0;
}

TEST_F(InProcess, IconAndHandCursorAreAsDrawnWithTheHotSpotAtTheFingertip) {
  const auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(handle_, GCLP_HICON));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(bitmapsOf(icon).size.cx, ::GetSystemMetrics(SM_CXICON));
  expectDrawnAsInFile(icon, assets::frmMainIcon);
  EXPECT_NE(::GetClassLongPtrW(handle_, GCLP_HICONSM), 0u);

  const HCURSOR hand = pointerAt(centre(pixelsOf("lblRun", 96)));
  const IconBitmaps bitmaps = bitmapsOf(hand);
  EXPECT_FALSE(bitmaps.isIcon);
  EXPECT_EQ(bitmaps.size.cx, 32);
  EXPECT_EQ(bitmaps.hotSpot.x, 5);
  EXPECT_EQ(bitmaps.hotSpot.y, 0);
  expectDrawnAsInFile(hand, assets::lblRunMouseIcon);
}

// What the window's client area shows on the screen now.
pictures::Canvas clientShot(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  const win32::WindowDc dc(window);
  const DibSection shot(client.right, client.bottom);
  ::BitBlt(shot.dc(), 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
  return shot.pixels();
}

// Straight from opening, before a message is pumped, the window shows everything its first
// frame holds: the pictures, every word and the mode. What waits for the pointer (the hands,
// the tooltips) is no part of it.
TEST_F(InProcess, FirstPaintIsWhole) {
  const pictures::Canvas seen = clientShot(handle_);
  const pictures::Canvas scene = sceneAt(202, 133);
  EXPECT_EQ(pictureMismatches(seen, scene, layout::kBaseDpi), "");
  for (const std::string_view label : {"lblSwitch", "lblRun", "lblExit"}) {
    EXPECT_GT(wordBox(seen, scene, pixelsOf(label, layout::kBaseDpi)).height, 8) << label;
  }
  const layout::Rect box = pixelsOf("txtMode", layout::kBaseDpi);
  const std::uint32_t background = seen.at(box.left + 3, box.top + 3);
  int text = 0;
  for (int y = box.top + 3; y < box.top + box.height - 3; ++y) {
    for (int x = box.left + 3; x < box.left + box.width - 3; ++x) {
      text += darkerOrSame(seen.at(x, y), background) && seen.at(x, y) != background ? 1 : 0;
    }
  }
  EXPECT_GT(text, 20) << "the mode is not in its box";
}

// Whether the window's paint reaches every pixel of its client area, the text box's included:
// the area is filled first with a colour the pictures lack.
bool paintsEveryPixel(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  const win32::WindowDc dc(window);
  constexpr COLORREF kUnpainted = RGB(0x01, 0xFE, 0x02);
  const win32::UniqueBrush brush(::CreateSolidBrush(kUnpainted));
  ::FillRect(dc.get(), &client, brush.get());
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto pixels = clientShot(window).pixels;
  return std::find(pixels.begin(), pixels.end(), 0x01FE02u) == pixels.end();
}

class InProcessAtDpi : public InProcess, public testing::WithParamInterface<int> {};

TEST_P(InProcessAtDpi, MovingToAMonitorOfThatDpiScalesEverythingInTheSuggestedRectangle) {
  const int dpi = GetParam();
  // Pointing first brings the tooltips, which the move must then fit too.
  const POINT run = centre(pixelsOf("lblRun", 96));
  ::SendMessageW(handle_, WM_MOUSEMOVE, 0, MAKELPARAM(run.x, run.y));
  const HWND tooltip = ::FindWindowW(TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tooltip, nullptr);

  // Asked first (Windows 10 1703 and later), the window gives its exact size there, its frame
  // at that DPI too.
  const int width = layout::toPixels(layout::kWindow.clientWidthTwips, dpi);
  const int height = layout::toPixels(layout::kWindow.clientHeightTwips, dpi);
  SIZE scaled{};
  ASSERT_TRUE(::SendMessageW(handle_, win32::kGetDpiScaledSizeMessage, static_cast<WPARAM>(dpi),
                             reinterpret_cast<LPARAM>(&scaled)));
  const auto adjustForDpi = win32::systemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      L"user32.dll", "AdjustWindowRectExForDpi");
  ASSERT_NE(adjustForDpi, nullptr);
  RECT frame{0, 0, width, height};
  adjustForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(handle_, GWL_STYLE)), FALSE, 0,
               static_cast<UINT>(dpi));
  EXPECT_EQ(scaled.cx, frame.right - frame.left);
  EXPECT_EQ(scaled.cy, frame.bottom - frame.top);

  // Otherwise the system suggests the whole window scaled, frame and all, which would leave the
  // client area off the scene's size. Wine keeps drawing the frame at 96 DPI.
  RECT outer{};
  ::GetWindowRect(handle_, &outer);
  const RECT suggested{outer.left + 7, outer.top + 5,
                       outer.left + 7 + ::MulDiv(outer.right - outer.left, dpi, 96),
                       outer.top + 5 + ::MulDiv(outer.bottom - outer.top, dpi, 96)};
  ::SendMessageW(handle_, win32::kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));

  RECT now{};
  ::GetWindowRect(handle_, &now);
  EXPECT_EQ(now.left, suggested.left);
  EXPECT_EQ(now.top, suggested.top);
  RECT client{};
  ::GetClientRect(handle_, &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);
  EXPECT_TRUE(paintsEveryPixel(handle_));

  const HWND box = ::FindWindowExW(handle_, nullptr, L"Edit", nullptr);
  RECT boxRect{};
  ::GetWindowRect(box, &boxRect);
  ::MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&boxRect), 2);
  const layout::Rect expected = pixelsOf("txtMode", dpi);
  EXPECT_EQ(boxRect.left, expected.left);
  EXPECT_EQ(boxRect.right - boxRect.left, expected.width);
  LOGFONTW gui{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_EQ(fontHeightOf(box), ::MulDiv(gui.lfHeight, dpi, 96));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  EXPECT_EQ(fontHeightOf(tooltip), ::MulDiv(metrics.lfStatusFont.lfHeight, dpi, 96));

  for (UINT_PTR tool :
       {layout::indexOf("lblRun"), layout::indexOf("lblExit"), layout::indexOf("lblSwitch")}) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = handle_;
    info.uId = tool;
    ASSERT_TRUE(::SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    const layout::Rect label = layout::toPixels(layout::kControls[tool].twips, dpi);
    EXPECT_EQ(info.rect.left, label.left) << tool;
    EXPECT_EQ(info.rect.bottom, label.bottom()) << tool;
  }

  // The hand's lower right corner, which lies outside the label at 96 DPI.
  const layout::Rect switchLabel = pixelsOf("lblSwitch", dpi);
  const POINT corner{switchLabel.right() - 1, switchLabel.bottom() - 1};
  const IconBitmaps hand = bitmapsOf(pointerAt(corner));
  EXPECT_EQ(hand.size.cx, 32 * dpi / 96);
  EXPECT_EQ(hand.hotSpot.x, 5 * dpi / 96);
  EXPECT_EQ(hand.hotSpot.y, 0);

  click(corner);
  EXPECT_EQ(modeText(), expected::kModeOn);
  EXPECT_EQ(folder_.read(expected::kMarker), expected::kMarkerBytes);

  // Where the system keeps the client area larger than the scene, the rest is painted too.
  ::SetWindowPos(handle_, nullptr, 0, 0, now.right - now.left + 9, now.bottom - now.top + 7,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(paintsEveryPixel(handle_));
}

INSTANTIATE_TEST_SUITE_P(Wine, InProcessAtDpi, testing::Values(144, 192));

// Every GDI handle the process may still have but `spare`, taken until release(): a session
// out of GDI resources, as a paint can meet one.
class GdiExhausted {
public:
  explicit GdiExhausted(std::size_t spare) {
    while (const HBRUSH brush = ::CreateSolidBrush(0)) {
      brushes_.push_back(brush);
    }
    for (; spare > 0 && !brushes_.empty(); --spare) {
      ::DeleteObject(brushes_.back());
      brushes_.pop_back();
    }
  }
  GdiExhausted(const GdiExhausted&) = delete;
  GdiExhausted& operator=(const GdiExhausted&) = delete;
  ~GdiExhausted() { release(); }

  void release() {
    for (const HBRUSH brush : brushes_) {
      ::DeleteObject(brush);
    }
    brushes_.clear();
  }

private:
  std::vector<HBRUSH> brushes_;
};

BOOL CALLBACK addIfBox(HWND window, LPARAM boxes) {
  wchar_t name[16] = {};
  if (::IsWindowVisible(window) != 0 && ::GetClassNameW(window, name, 16) != 0 &&
      std::wstring_view(name) == L"#32770") {
    reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
  }
  return TRUE;
}

// The message boxes up on a thread.
std::vector<HWND> boxesOn(DWORD thread) {
  std::vector<HWND> boxes;
  ::EnumThreadWindows(thread, &addIfBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

// What a watcher on another thread saw of the reports the window's thread showed.
struct Reports {
  std::size_t mostAtOnce = 0;
  std::wstring first;      // the first report's message
  int textBoxFontHeight{}; // the text box's font, while the first report was up
};

struct ReportWatch {
  DWORD thread;
  HWND window;
  GdiExhausted* gdi;
  Reports seen;
};

// Once a report is up, the window is painted again underneath it, still out of GDI handles;
// then the handles come back and every box is closed.
DWORD WINAPI watchReports(void* parameter) {
  auto& watch = *static_cast<ReportWatch*>(parameter);
  const auto look = [&] {
    const std::vector<HWND> boxes = boxesOn(watch.thread);
    watch.seen.mostAtOnce = std::max(watch.seen.mostAtOnce, boxes.size());
    return boxes;
  };
  for (int wait = 0; wait < 200 && look().empty(); ++wait) {
    ::Sleep(50);
  }
  if (const std::vector<HWND> boxes = look(); !boxes.empty()) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(boxes.front(), 0xFFFF, text, 256); // the box's message
    watch.seen.first = text;
    watch.seen.textBoxFontHeight =
        fontHeightOf(::FindWindowExW(watch.window, nullptr, L"Edit", nullptr));
  }
  ::InvalidateRect(watch.window, nullptr, FALSE);
  for (int wait = 0; wait < 10; ++wait) {
    ::Sleep(50);
    look();
  }
  watch.gdi->release();
  for (std::vector<HWND> boxes = look(); !boxes.empty(); boxes = look()) {
    for (const HWND box : boxes) {
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    ::Sleep(100);
  }
  return 0;
}

// Runs `action` on the window's thread with the session out of GDI handles but `spare`, and
// watches the reports it brings from another thread. The program has ended with exit code 1
// after them.
template <typename Action> Reports reportsOf(HWND window, std::size_t spare, Action action) {
  ReportWatch watch{::GetCurrentThreadId(), window, nullptr, {}};
  {
    GdiExhausted gdi(spare);
    watch.gdi = &gdi;
    const win32::UniqueHandle watcher(
        ::CreateThread(nullptr, 0, &watchReports, &watch, 0, nullptr));
    if (!watcher) {
      throw std::runtime_error("CreateThread");
    }
    action();
    if (::WaitForSingleObject(watcher.get(), 30000) != WAIT_OBJECT_0) {
      throw std::runtime_error("the reports were not closed");
    }
  }
  EXPECT_EQ(::IsWindow(window), FALSE);
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 1u);
  return watch.seen;
}

// A paint that fails again under the report's box, which keeps painting its owner, opens no
// second box.
TEST_F(InProcess, APaintThatKeepsFailingIsReportedOnce) {
  const Reports reports = reportsOf(handle_, 0, [&] {
    ::RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  });
  EXPECT_EQ(reports.mostAtOnce, 1u);
  // BeginPaint sets no last error: the report names it, and shows no stale code.
  EXPECT_EQ(utf8(reports.first),
            "Run-time error 1003:\n\nBeginPaint failed.\n\nThe program will now end.");
}

// A move to a monitor of another DPI that makes two of its fonts and fails on the third keeps
// the old ones whole and in use, in the text box the report's box repaints too.
TEST_F(InProcess, ADpiChangeThatFailsHalfwayKeepsTheOldFontsInUse) {
  const int height = fontHeightOf(::FindWindowExW(handle_, nullptr, L"Edit", nullptr));
  ASSERT_NE(height, 0);
  RECT suggested{};
  ::GetWindowRect(handle_, &suggested);
  const Reports reports = reportsOf(handle_, 2, [&] {
    ::SendMessageW(handle_, win32::kDpiChangedMessage, MAKEWPARAM(192, 192),
                   reinterpret_cast<LPARAM>(&suggested));
  });
  EXPECT_EQ(utf8(reports.first),
            "Run-time error 1003:\n\nCreateFontIndirectW failed.\n\nThe program will now end.");
  EXPECT_EQ(reports.textBoxFontHeight, height);
}

// The keyboard cues as Windows has them out of the box: hidden until the keyboard is used.
class InProcessWithCuesHidden : public InProcess {
protected:
  const KeyboardCues cues_{false};
};

// The cue follows the window's UI state: UIS_INITIALIZE shows it after a key and hides it after
// the mouse, and the setting that keyboard cues always show forces it on only while it is on.
TEST_F(InProcessWithCuesHidden, TheCueFollowsTheUiStateAndTheSetting) {
  win32::ComPtr<IAccessible> object;
  ASSERT_TRUE(
      SUCCEEDED(::ObjectFromLresult(::SendMessageW(handle_, WM_GETOBJECT, 0, OBJID_CLIENT),
                                    IID_IAccessible, 0, reinterpret_cast<void**>(object.put()))));
  VARIANT run{};
  run.vt = VT_I4;
  run.lVal = 3; // lblRun, the third control a reader tells apart
  ASSERT_EQ(object->accSelect(SELFLAG_TAKEFOCUS, run), S_OK);
  const auto shown = [&] {
    ::RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return clientShot(handle_).pixels;
  };
  const auto hidden = shown();
  const auto initialize = [&] {
    ::SendMessageW(handle_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS), 0);
  };

  ::SendMessageW(handle_, WM_KEYDOWN, VK_SHIFT, 0);
  initialize();
  EXPECT_TRUE(shown() != hidden) << "no cue after a key";
  EXPECT_EQ(::SendMessageW(handle_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);

  const LPARAM wall = MAKELPARAM(60, 40); // no control there
  ::SendMessageW(handle_, WM_LBUTTONDOWN, MK_LBUTTON, wall);
  ::SendMessageW(handle_, WM_LBUTTONUP, 0, wall);
  initialize();
  EXPECT_TRUE(shown() == hidden) << "a cue after the mouse";

  {
    const KeyboardCues always(true);
    ::SendMessageW(handle_, WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES, 0);
    EXPECT_TRUE(shown() != hidden) << "no cue with the setting on";
  }
  ::SendMessageW(handle_, WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES, 0);
  EXPECT_TRUE(shown() == hidden) << "a cue once the setting is off again";
}

// The WM_SETFOCUS messages the window being watched was sent: hook procedures have no context
// of their own.
HWND focusWatched = nullptr;
int focusesOfWatched = 0;

LRESULT CALLBACK countFocuses(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SETFOCUS && sent->hwnd == focusWatched) {
    ++focusesOfWatched;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Coming back to the window gives the focus straight to the text box that had it, as a dialog
// does: a stop on the window first would have a screen reader announce both.
TEST_F(InProcess, ActivationGivesTheFocusStraightBackToTheTextBox) {
  const HWND box = ::FindWindowExW(handle_, nullptr, L"Edit", nullptr);
  const win32::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                                    10, 10, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(other);
  ::SetActiveWindow(handle_);
  ASSERT_EQ(::GetFocus(), box);
  ::SetActiveWindow(other.get());
  ASSERT_NE(::GetFocus(), box);
  focusWatched = handle_;
  focusesOfWatched = 0;
  {
    const win32::Unique<win32::NullTraits<HHOOK, &::UnhookWindowsHookEx>> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROC, &countFocuses, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    ::SetActiveWindow(handle_);
  }
  EXPECT_EQ(::GetFocus(), box);
  EXPECT_EQ(focusesOfWatched, 0) << "the window took the focus on the way";
}

enum class Apartment { None, SingleThreaded, MultiThreaded };

// Asked without changing it: joining the multithreaded apartment fails exactly when the
// thread is in a single-threaded one, and is undone at once otherwise.
Apartment apartment() {
  const HRESULT joined = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (joined == RPC_E_CHANGED_MODE) {
    return Apartment::SingleThreaded;
  }
  if (SUCCEEDED(joined)) {
    ::CoUninitialize();
  }
  return joined == S_OK ? Apartment::None : Apartment::MultiThreaded;
}

// The window being destroyed, and what it answered a screen reader asking right after its
// WM_DESTROY: hook procedures have no context of their own.
HWND destroying = nullptr;
LRESULT answerOnDestroy = 0;

LRESULT CALLBACK askAfterDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_DESTROY && sent->hwnd == destroying) {
    answerOnDestroy = ::SendMessageW(destroying, WM_GETOBJECT, 0, OBJID_CLIENT);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A request while the window is being destroyed (leaving the apartment may pump messages) makes
// no object and joins no apartment again.
TEST_F(InProcess, AScreenReadersRequestPutsTheThreadInAnApartmentUntilTheWindowGoes) {
  EXPECT_EQ(apartment(), Apartment::None) << "start-up must not join an apartment";
  const LRESULT answer = ::SendMessageW(handle_, WM_GETOBJECT, 0, OBJID_CLIENT);
  ASSERT_GT(answer, 0);
  EXPECT_EQ(apartment(), Apartment::SingleThreaded);
  win32::ComPtr<IAccessible> object;
  ASSERT_TRUE(SUCCEEDED(
      ::ObjectFromLresult(answer, IID_IAccessible, 0, reinterpret_cast<void**>(object.put()))));
  destroying = handle_;
  answerOnDestroy = -1;
  {
    const win32::Unique<win32::NullTraits<HHOOK, &::UnhookWindowsHookEx>> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, &askAfterDestroy, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    ::SendMessageW(handle_, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(::IsWindow(handle_), FALSE);
  EXPECT_EQ(answerOnDestroy, 0);
  long children = 0;
  EXPECT_EQ(object->get_accChildCount(&children), RPC_E_DISCONNECTED);
  object.reset();
  EXPECT_EQ(apartment(), Apartment::None);
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// What the window answered a screen reader asking as it was created, before its text box was
// made: hook procedures have no context of their own.
LRESULT answerOnCreate = 0;

LRESULT CALLBACK askOnCreate(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  wchar_t name[16] = {};
  if (code == HC_ACTION && sent->message == WM_CREATE &&
      ::GetClassNameW(sent->hwnd, name, 16) != 0 && std::wstring_view(name) == L"KelvarinMain") {
    answerOnCreate = ::SendMessageW(sent->hwnd, WM_GETOBJECT, 0, OBJID_CLIENT);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class InProcessAskedAtCreation : public InProcess {
protected:
  void SetUp() override {
    answerOnCreate = 0;
    const win32::Unique<win32::NullTraits<HHOOK, &::UnhookWindowsHookEx>> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROCRET, &askOnCreate, nullptr, ::GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    InProcess::SetUp();
  }
};

// The object made before the text box finds the box once it is there.
TEST_F(InProcessAskedAtCreation, TheTextBoxIsFoundOnceItIsMade) {
  ASSERT_GT(answerOnCreate, 0);
  win32::ComPtr<IAccessible> object;
  ASSERT_TRUE(SUCCEEDED(::ObjectFromLresult(answerOnCreate, IID_IAccessible, 0,
                                            reinterpret_cast<void**>(object.put()))));
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = 1; // the text box, on top of the stack
  win32::ComPtr<IDispatch> box;
  ASSERT_EQ(object->get_accChild(child, box.put()), S_OK);
  win32::ComPtr<IAccessible> boxObject;
  ASSERT_TRUE(
      SUCCEEDED(box->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(boxObject.put()))));
  HWND window = nullptr;
  ASSERT_TRUE(SUCCEEDED(::WindowFromAccessibleObject(boxObject.get(), &window)));
  EXPECT_EQ(window, ::FindWindowExW(handle_, nullptr, L"Edit", nullptr));
}

// The object is served only in a single-threaded apartment; where a hook left the thread
// multithreaded, the system's own object answers, and the apartment is not the window's to leave.
TEST_F(InProcess, AThreadLeftMultithreadedGetsTheSystemsOwnObject) {
  ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  EXPECT_EQ(::SendMessageW(handle_, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
  ::SendMessageW(handle_, WM_CLOSE, 0, 0);
  EXPECT_EQ(apartment(), Apartment::MultiThreaded);
  ::CoUninitialize();
}

} // namespace
} // namespace kelvarin::e2e
