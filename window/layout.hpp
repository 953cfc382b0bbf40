// The window's layout as data: the form frmMain and its nine controls, in creation order, which
// is also the stacking order (each entry lies above every entry after it). Nothing else places a
// control.
#pragma once

#include "assets/picture_records.hpp"
#include "mode/texts.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelvarin::layout {

// Window lengths are twips: 1/1440 inch, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kBaseDpi = 96;

constexpr int toPixels(int twips, int dpi = kBaseDpi) {
  return twips * dpi / kTwipsPerInch;
}

// A length in pixels at 96 DPI, at another DPI.
constexpr int atDpi(int pixels, int dpi) {
  return pixels * dpi / kBaseDpi;
}

struct Rect {
  int left;
  int top;
  int width;
  int height;

  constexpr int right() const { return left + width; }
  constexpr int bottom() const { return top + height; }
  constexpr bool contains(int x, int y) const {
    return x >= left && x < right() && y >= top && y < bottom();
  }
};

constexpr Rect toPixels(const Rect& twips, int dpi = kBaseDpi) {
  return {toPixels(twips.left, dpi), toPixels(twips.top, dpi), toPixels(twips.width, dpi),
          toPixels(twips.height, dpi)};
}

enum class Kind { TextBox, Label, Picture };
enum class Align { Left, Centre };
enum class Pointer { Default, Hand };
enum class Command { None, Switch, Run, Exit };

struct Font {
  std::wstring_view face;
  int hundredthsOfPoint;
  int weight;
  int charset;

  friend constexpr bool operator==(const Font&, const Font&) = default;
};

inline constexpr int kHebrewCharset = 177;
inline constexpr Font kSmallFont{L"Tahoma", 825, 400, kHebrewCharset};
inline constexpr Font kPlateFont{L"Tahoma", 1425, 700, kHebrewCharset};
// Every label's font is one of these.
inline constexpr std::array kLabelFonts{kSmallFont, kPlateFont};

// The font's cell height in pixels at `dpi`, rounded as the system rounds point sizes.
constexpr int fontHeight(const Font& font, int dpi = kBaseDpi) {
  return (font.hundredthsOfPoint * dpi + 3600) / 7200;
}

struct Control {
  std::string_view name;
  Kind kind;
  Rect twips;
  std::wstring_view text;
  const Font* font; // none: the window's default font
  Align align;
  Pointer pointer;
  std::wstring_view tooltip;
  int tabIndex; // -1: a picture, which has none
  Command click;
  const std::span<const std::uint8_t>* picture;   // its picture record, if it shows one
  const std::span<const std::uint8_t>* mouseIcon; // its pointer's record, for Pointer::Hand
};

struct Window {
  std::wstring_view caption;
  int clientWidthTwips;
  int clientHeightTwips;
};

inline constexpr Window kWindow{kCaption, 3030, 1995};

// Label2's "v2.0" and the version record's 1.00 differ on purpose: both are as intended.
// clang-format off
inline constexpr std::array<Control, 9> kControls{{
  {"txtMode",   Kind::TextBox, {1200, 1440, 1695, 285}, kModeTextOff,  nullptr,     Align::Left,   Pointer::Default, L"",                 2,  Command::None,   nullptr,                   nullptr},
  {"Label2",    Kind::Label,   {0,    0,    330,  195}, L"v2.0",       &kSmallFont, Align::Left,   Pointer::Default, L"",                 5,  Command::None,   nullptr,                   nullptr},
  {"lblRun",    Kind::Label,   {120,  960,  975,  375}, L"Run",        &kPlateFont, Align::Centre, Pointer::Hand,    L"Run Icy Tower.",   4,  Command::Run,    nullptr,                   &assets::lblRunMouseIcon},
  {"Label1",    Kind::Label,   {2040, 1800, 975,  255}, L"by tarquel", &kSmallFont, Align::Left,   Pointer::Default, L"",                 3,  Command::None,   nullptr,                   nullptr},
  {"lblSwitch", Kind::Label,   {1800, 120,  975,  375}, kSwitchOn,     &kPlateFont, Align::Centre, Pointer::Hand,    L"Switch FUN MODE.", 1,  Command::Switch, nullptr,                   &assets::lblSwitchMouseIcon},
  {"lblExit",   Kind::Label,   {120,  1440, 975,  375}, L"Exit",       &kPlateFont, Align::Centre, Pointer::Hand,    L"Exit program.",    0,  Command::Exit,   nullptr,                   &assets::lblExitMouseIcon},
  {"cmdSwitch", Kind::Picture, {1800, 120,  990,  435}, L"",           nullptr,     Align::Left,   Pointer::Default, L"",                 -1, Command::None,   &assets::cmdSwitchPicture, nullptr},
  {"cmdExit",   Kind::Picture, {120,  1440, 990,  435}, L"",           nullptr,     Align::Left,   Pointer::Default, L"",                 -1, Command::None,   &assets::cmdExitPicture,   nullptr},
  {"imgRun",    Kind::Picture, {120,  960,  990,  435}, L"",           nullptr,     Align::Left,   Pointer::Default, L"",                 -1, Command::None,   &assets::imgRunPicture,    nullptr},
}};
// clang-format on

// The words each control shows at run time, which start as the table's: all of them built in,
// so views of them do.
using ControlTexts = std::array<std::wstring_view, kControls.size()>;

// The index of a control by name; kControls.size() for a name not in the table.
consteval std::size_t indexOf(std::string_view name) {
  std::size_t i = 0;
  while (i < kControls.size() && kControls[i].name != name) {
    ++i;
  }
  return i;
}

// Every label has one of the fonts the window makes.
static_assert(std::all_of(kControls.begin(), kControls.end(), [](const Control& control) {
  return control.kind != Kind::Label ||
         std::find(kLabelFonts.begin(), kLabelFonts.end(), *control.font) != kLabelFonts.end();
}));

inline constexpr std::size_t kTxtMode = indexOf("txtMode");
inline constexpr std::size_t kLblSwitch = indexOf("lblSwitch");
static_assert(kTxtMode < kControls.size() && kLblSwitch < kControls.size());

// A label that runs a command when clicked: a button to the keyboard and to screen readers.
constexpr bool isCommandLabel(const Control& control) {
  return control.click != Command::None;
}

// The keyboard focus goes to the text box and to the command labels, never to a picture or to
// a label that only shows words.
constexpr bool takesFocus(const Control& control) {
  return control.kind == Kind::TextBox || isCommandLabel(control);
}

// The controls that take the focus, in ascending tab index: the round that Tab goes.
inline constexpr auto kTabOrder = [] {
  std::array<std::size_t, std::count_if(kControls.begin(), kControls.end(), takesFocus)> order{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (takesFocus(kControls[i])) {
      order[n++] = i;
    }
  }
  std::sort(order.begin(), order.end(), [](std::size_t a, std::size_t b) {
    return kControls[a].tabIndex < kControls[b].tabIndex;
  });
  return order;
}();

// Where Tab (or Shift+Tab, `back`) takes the focus from `control`.
constexpr std::size_t nextInTabOrder(std::size_t control, bool back) {
  std::size_t at = 0;
  while (at < kTabOrder.size() && kTabOrder[at] != control) {
    ++at;
  }
  return kTabOrder[(at + (back ? kTabOrder.size() - 1 : 1)) % kTabOrder.size()];
}

// The topmost control under a point of the client area, in pixels at `dpi`.
std::optional<std::size_t> hitTest(int x, int y, int dpi = kBaseDpi);

} // namespace kelvarin::layout
