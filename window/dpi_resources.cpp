// The fonts and hand cursors at the window's DPI.
#include "window/dpi_resources.hpp"

#include "pictures/pictures.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/system_error.hpp"
#include "window/built_in_pictures.hpp"
#include "window/failed_call.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace kelvarin::win32 {

namespace {

Status makeFont(const layout::Font& font, BYTE charset, int dpi, UniqueFont& made) {
  made.reset(::CreateFontW(-layout::fontHeight(font, dpi), 0, 0, 0, font.weight, FALSE, FALSE,
                           FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH, std::wstring(font.face).c_str()));
  return checkCall(static_cast<bool>(made), L"CreateFontW");
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
  font.lfHeight = ::MulDiv(font.lfHeight, dpi, systemDpi(layout::kBaseDpi));
  made.reset(::CreateFontIndirectW(&font));
  return checkCall(static_cast<bool>(made), L"CreateFontIndirectW");
}

} // namespace

Status DpiResources::make(int dpi) {
  dpi_ = dpi;
  return makeFonts();
}

// Every label has one of the two, as the table's own check says.
HFONT DpiResources::labelFont(const layout::Font& font) const noexcept {
  return font == layout::kPlateFont ? plateFont_.get() : smallFont_.get();
}

// The labels' fonts from the table; the text box keeps the system's font for it.
Status DpiResources::makeFonts() {
  LOGFONTW boxFont{};
  return inOrder([&] { return createFont(layout::kSmallFont, dpi_, smallFont_); },
                 [&] { return createFont(layout::kPlateFont, dpi_, plateFont_); },
                 [&] {
                   return checkCall(::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof boxFont,
                                                 &boxFont) != 0,
                                    L"GetObjectW");
                 },
                 [&] { return scaledSystemFont(boxFont, dpi_, boxFont_); });
}

// The system's font for tooltips.
HFONT DpiResources::tooltipFont() noexcept {
  if (!tooltipFont_) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize =
        sizeof metrics; // built for XP: without the field Vista added, which XP refuses
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != 0) {
      static_cast<void>(scaledSystemFont(metrics.lfStatusFont, dpi_, tooltipFont_));
    }
  }
  return tooltipFont_.get();
}

bool DpiResources::isHand(HCURSOR cursor) const noexcept {
  return cursor != nullptr &&
         std::any_of(hands_.begin(), hands_.end(),
                     [&](const UniqueCursor& hand) { return hand.get() == cursor; });
}

// The hand, sized for the window's DPI like everything else on it.
Status DpiResources::handOf(std::size_t control, HCURSOR& hand) {
  hand = hands_[control].get();
  const std::span<const std::uint8_t>* record = layout::kControls[control].mouseIcon;
  if (hand != nullptr || record == nullptr) {
    return {};
  }
  const auto file = assets::recordFile(*record);
  const auto cursor = file ? pictures::iconImage(*file) : std::nullopt;
  if (!cursor || !cursor->cursor) {
    return damagedPictures();
  }
  // A cursor resource starts with its hot spot, which the file keeps in its directory; the
  // system scales both with the size asked for.
  std::vector<std::uint8_t> resource = pictures::cursorResource(*cursor);
  hands_[control].reset(iconFromResource(resource, false, layout::atDpi(cursor->width, dpi_),
                                         layout::atDpi(cursor->height, dpi_)));
  hand = hands_[control].get();
  return check(hand != nullptr);
}

} // namespace kelvarin::win32
