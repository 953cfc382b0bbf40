// The least a program can cost that shows kelvarin.exe's first frame, for the benchmarks to
// measure it against beside the empty window: that window at Kelvarin's size and caption, the
// wall copied from the bitmap the exe carries, a plain EDIT control in the mode text box's place
// with the system's font, and the labels' words in their fonts at their places from the layout
// table. Nothing else that Kelvarin does: no plates (their decoding is Kelvarin's own cost), no
// DPI, icon, cursors, tooltips, keyboard or screen reader. Exit code 0 only if every paint was
// whole, so the benchmark cannot time a baseline that skipped its work.
#include "assets/picture_records.hpp"
#include "platform/win32/handles.hpp"
#include "window/layout.hpp"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace kelvarin;

// Handed to the system as they are, without a copy that would bring the C++ library's
// exception paths into a program that should cost no more than its frame.
constexpr bool endsInNull(std::wstring_view text) {
  return text.data()[text.size()] == L'\0';
}
static_assert(endsInNull(layout::kWindow.caption) &&
              endsInNull(layout::kControls[layout::kTxtMode].text));

struct Frame {
  BITMAPINFO wallInfo{}; // copied out of the file, where it lies unaligned
  const std::uint8_t* wallBits = nullptr;
  win32::UniqueFont smallFont;
  win32::UniqueFont plateFont;
};

// The wall as the file has it: 24 bits a pixel, rows bottom-up.
bool readWall(Frame& frame) {
  const auto file = assets::recordFile(assets::frmMainPicture);
  constexpr std::size_t kInfoAt = sizeof(BITMAPFILEHEADER);
  if (!file || file->size() < kInfoAt + sizeof(BITMAPINFOHEADER)) {
    return false;
  }
  BITMAPFILEHEADER header{};
  std::memcpy(&header, file->data(), sizeof header);
  BITMAPINFOHEADER& info = frame.wallInfo.bmiHeader;
  std::memcpy(&info, file->data() + kInfoAt, sizeof info);
  if (info.biBitCount != 24 || info.biWidth <= 0 || info.biHeight <= 0) {
    return false;
  }
  const auto rowBytes = (static_cast<std::size_t>(info.biWidth) * 3 + 3) / 4 * 4;
  if (header.bfOffBits > file->size() ||
      file->size() - header.bfOffBits < rowBytes * static_cast<std::size_t>(info.biHeight)) {
    return false;
  }
  frame.wallBits = file->data() + header.bfOffBits;
  return true;
}

// At 96 DPI and with the default character set: the face is what matters for these ASCII words.
win32::UniqueFont labelFont(const layout::Font& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = -layout::fontHeight(font);
  logFont.lfWeight = font.weight;
  logFont.lfCharSet = DEFAULT_CHARSET;
  std::copy_n(font.face.begin(), std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1),
              logFont.lfFaceName);
  return win32::UniqueFont(::CreateFontIndirectW(&logFont));
}

bool paint(HWND window, const Frame& frame) {
  const win32::PaintDc dc(window);
  const BITMAPINFOHEADER& wall = frame.wallInfo.bmiHeader;
  if (!dc || ::SetDIBitsToDevice(dc.get(), 0, 0, static_cast<DWORD>(wall.biWidth),
                                 static_cast<DWORD>(wall.biHeight), 0, 0, 0,
                                 static_cast<UINT>(wall.biHeight), frame.wallBits, &frame.wallInfo,
                                 DIB_RGB_COLORS) == 0) {
    return false;
  }
  ::SetBkMode(dc.get(), TRANSPARENT);
  ::SetTextColor(dc.get(), ::GetSysColor(COLOR_BTNTEXT));
  for (const layout::Control& control : layout::kControls) {
    if (control.kind != layout::Kind::Label) {
      continue;
    }
    const win32::Selection font(dc.get(), control.font == &layout::kPlateFont
                                              ? frame.plateFont.get()
                                              : frame.smallFont.get());
    const layout::Rect r = layout::toPixels(control.twips);
    RECT rect{r.left, r.top, r.right(), r.bottom()};
    const UINT align = control.align == layout::Align::Centre ? DT_CENTER : DT_LEFT;
    if (::DrawTextW(dc.get(), control.text.data(), static_cast<int>(control.text.size()), &rect,
                    align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX) == 0) {
      return false;
    }
  }
  return true;
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  const auto* frame = reinterpret_cast<const Frame*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
  case WM_PAINT:
    if (!paint(window, *frame)) {
      ::PostQuitMessage(2);
    }
    return 0;
  case WM_CTLCOLORSTATIC: // a read-only box in an ordinary one's colours, as Kelvarin's
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
  case WM_DESTROY:
    ::PostQuitMessage(0);
    return 0;
  default:
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  Frame frame;
  frame.smallFont = labelFont(layout::kSmallFont);
  frame.plateFont = labelFont(layout::kPlateFont);
  if (!readWall(frame) || !frame.smallFont || !frame.plateFont) {
    return 1;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"KelvarinSameFrame"; // the wall covers the client: no background
  if (::RegisterClassW(&windowClass) == 0) {
    return 1;
  }
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frameRect{0, 0, layout::toPixels(layout::kWindow.clientWidthTwips),
                 layout::toPixels(layout::kWindow.clientHeightTwips)};
  if (::AdjustWindowRect(&frameRect, kStyle, FALSE) == 0) {
    return 1;
  }
  const HWND window =
      ::CreateWindowW(L"KelvarinSameFrame", layout::kWindow.caption.data(), kStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, frameRect.right - frameRect.left,
                      frameRect.bottom - frameRect.top, nullptr, nullptr, instance, &frame);
  if (window == nullptr) {
    return 1;
  }
  const layout::Control& box = layout::kControls[layout::kTxtMode];
  const layout::Rect r = layout::toPixels(box.twips);
  const HWND edit =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", box.text.data(),
                        WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, r.left,
                        r.top, r.width, r.height, window, nullptr, instance, nullptr);
  if (edit == nullptr) {
    return 1;
  }
  ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  ::ShowWindow(window, showCommand);
  ::UpdateWindow(window);
  MSG message{};
  BOOL got = 0;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : static_cast<int>(message.wParam);
}
