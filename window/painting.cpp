// The window's paint: pictures or theme colours, then words and focus cue, blitted at once.
#include "window/painting.hpp"

#include "platform/win32/system_error.hpp"
#include "window/built_in_pictures.hpp"
#include "window/failed_call.hpp"
#include "window/geometry.hpp"
#include "window/scene.hpp"

#include <algorithm>
#include <utility>

namespace kelvarin::win32 {

namespace {

// The focus cue keeps this far inside its label, clear of the plate's outline and round corners.
constexpr int kCueInset = 4;

// How the window draws itself, in the system's colours (COLOR_*). Normally in its pictures,
// every word in the button-text colour as the platform draws labels. With the system's high
// contrast on, in the player's theme colours instead: on the pictures the theme's text colour
// can be unreadable. The read-only text box keeps the colours of an ordinary one either way.
struct Look {
  bool pictures;   // the wall and the plates as pictures, or else in system colours:
  int background;  //   the client area,
  int plate;       //   each plate's rectangle,
  int plateFrame;  //   a one-pixel frame round it
  int commandText; // the words of the command labels, on the plates
  int otherText;   // the other labels' words, on the wall
  int box;         // the text box's background
  int boxText;     // and its words
};

constexpr Look lookFor(bool highContrast) {
  return {.pictures = !highContrast,
          .background = COLOR_WINDOW,
          .plate = COLOR_BTNFACE,
          .plateFrame = COLOR_BTNTEXT,
          .commandText = COLOR_BTNTEXT,
          .otherText = highContrast ? COLOR_WINDOWTEXT : COLOR_BTNTEXT,
          .box = COLOR_WINDOW,
          .boxText = COLOR_WINDOWTEXT};
}

// The colour of a label's words.
constexpr int textColour(const Look& look, const layout::Control& label) {
  return layout::isCommandLabel(label) ? look.commandText : look.otherText;
}

HBRUSH brushOf(int colour) {
  return ::GetSysColorBrush(colour);
}

COLORREF colourOf(int colour) {
  return ::GetSysColor(colour);
}

} // namespace

// Composed again for each DPI, straight at the client area's size: no 96-DPI scene is kept
// beside it. A scene that fails to compose leaves the last one in place.
Status Painting::compose(int dpi) {
  const RECT client = clientAt(dpi);
  pictures::Canvas scene(client.right, client.bottom);
  if (!scene::compose(scene)) {
    return damagedPictures();
  }
  scene_ = std::move(scene);
  backBuffer_.reset();
  return {};
}

void Painting::readHighContrast() noexcept {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  highContrast_ =
      ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != 0 &&
      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Status Painting::paint(HWND window, const DpiResources& resources,
                       const layout::ControlTexts& texts, std::optional<std::size_t> cue) {
  const PaintDc dc(window);
  if (!dc) {
    // What was not painted is not asked for again at once, which would spin in a loop.
    ::ValidateRect(window, nullptr);
    return failedCall(L"BeginPaint");
  }
  RECT client{};
  if (::GetClientRect(window, &client) == 0) {
    return lastError();
  }
  // One blit from a memory bitmap: the window never shows a half-drawn state.
  const UniqueDc memory(::CreateCompatibleDC(dc.get()));
  if (!memory) {
    return failedCall(L"CreateCompatibleDC");
  }
  if (!backBuffer_) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = scene_.width;
    info.bmiHeader.biHeight = -scene_.height; // rows top-down, as the canvas keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    backBuffer_.reset(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &backBits_, nullptr, 0));
    if (!backBuffer_) {
      return lastError();
    }
  }
  const Selection bitmap(memory.get(), backBuffer_.get());
  if (Status drawn = draw(memory.get(), resources, texts, cue); !drawn.ok()) {
    return drawn;
  }
  // The erase is left out, so nothing else paints where the system keeps the client area larger
  // than the scene: the background goes there.
  const HBRUSH background = brushOf(lookFor(highContrast_).background);
  const RECT right{scene_.width, 0, client.right, client.bottom};
  const RECT below{0, scene_.height, scene_.width, client.bottom};
  if (::BitBlt(dc.get(), 0, 0, scene_.width, scene_.height, memory.get(), 0, 0, SRCCOPY) == 0) {
    return lastError();
  }
  return checkCall((right.left >= right.right || ::FillRect(dc.get(), &right, background) != 0) &&
                       (below.top >= below.bottom || ::FillRect(dc.get(), &below, background) != 0),
                   L"FillRect");
}

Status Painting::draw(HDC dc, const DpiResources& resources, const layout::ControlTexts& texts,
                      std::optional<std::size_t> cue) {
  // The pictures first, or the system's colours in their place, then the labels' words over
  // them.
  const Look look = lookFor(highContrast_);
  ::GdiFlush();
  if (look.pictures) {
    std::copy(scene_.pixels.begin(), scene_.pixels.end(), static_cast<std::uint32_t*>(backBits_));
  } else if (const RECT all{0, 0, scene_.width, scene_.height};
             ::FillRect(dc, &all, brushOf(look.background)) == 0) {
    return failedCall(L"FillRect");
  }

  // Bottom of the stack first, so that each label is painted over those beneath it.
  for (std::size_t i = layout::kControls.size(); i-- > 0;) {
    const layout::Control& control = layout::kControls[i];
    RECT r = rectAt(control, resources.dpi());
    const wchar_t* failed = nullptr; // the call that failed
    if (control.kind == layout::Kind::Picture && !look.pictures) {
      failed = ::FillRect(dc, &r, brushOf(look.plate)) == 0         ? L"FillRect"
               : ::FrameRect(dc, &r, brushOf(look.plateFrame)) == 0 ? L"FrameRect"
                                                                    : nullptr;
    } else if (control.kind == layout::Kind::Label) {
      const Selection font(dc, resources.labelFont(*control.font));
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, colourOf(textColour(look, control)));
      const UINT align = control.align == layout::Align::Centre ? DT_CENTER : DT_LEFT;
      const int inset = layout::atDpi(kCueInset, resources.dpi());
      const RECT inside{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
      failed = ::DrawTextW(dc, texts[i].data(), static_cast<int>(texts[i].size()), &r,
                           align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX) == 0
                   ? L"DrawTextW"
               : cue == i && ::DrawFocusRect(dc, &inside) == 0 ? L"DrawFocusRect"
                                                               : nullptr;
    }
    if (failed != nullptr) {
      return failedCall(failed);
    }
  }
  return {};
}

// A read-only box keeps the colours of an ordinary text box.
LRESULT Painting::textBoxColours(HDC dc) const noexcept {
  const Look look = lookFor(highContrast_);
  ::SetTextColor(dc, colourOf(look.boxText));
  ::SetBkColor(dc, colourOf(look.box));
  return reinterpret_cast<LRESULT>(brushOf(look.box));
}

} // namespace kelvarin::win32
