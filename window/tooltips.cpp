// The tooltip window, one tool per label that has a tooltip, over the label's rectangle.
#include "window/tooltips.hpp"

#include "platform/win32/system_function.hpp"
#include "window/geometry.hpp"

#include <commctrl.h>

#include <string>

namespace kelvarin::win32 {

namespace {

bool hasTooltip(std::size_t control) {
  return !layout::kControls[control].tooltip.empty();
}

// The tool of the control, as the tooltip's messages take it.
TTTOOLINFOW toolOf(HWND window, std::size_t control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE; // understood by every comctl32 version
  tool.hwnd = window;
  tool.uId = control;
  return tool;
}

} // namespace

void Tooltips::onMouseMove(HWND window, POINT point, WPARAM keys, DpiResources& resources) {
  if (tried_) {
    return;
  }
  const auto hit = layout::hitTest(point.x, point.y, resources.dpi());
  if (hit && hasTooltip(*hit)) {
    create(window, point, keys, resources);
  }
}

void Tooltips::create(HWND window, POINT point, WPARAM keys, DpiResources& resources) {
  tried_ = true;
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
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance_, nullptr);
  if (tooltip_ == nullptr) {
    return;
  }
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (!hasTooltip(i)) {
      continue;
    }
    // Each label is the topmost control over its whole rectangle, so the rectangle is the
    // tool; fit() sets it.
    std::wstring text(layout::kControls[i].tooltip);
    TTTOOLINFOW tool = toolOf(window, i);
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = text.data();
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  fit(window, resources);
  // The tooltip watches the window's messages from now on; this move came before.
  MSG move{};
  move.hwnd = window;
  move.message = WM_MOUSEMOVE;
  move.wParam = keys;
  move.lParam = MAKELPARAM(point.x, point.y);
  move.time = static_cast<DWORD>(::GetMessageTime());
  ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void Tooltips::fit(HWND window, DpiResources& resources) {
  if (tooltip_ == nullptr) {
    return;
  }
  ::SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(resources.tooltipFont()), FALSE);
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (hasTooltip(i)) {
      TTTOOLINFOW tool = toolOf(window, i);
      tool.rect = rectAt(layout::kControls[i], resources.dpi());
      ::SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

} // namespace kelvarin::win32
