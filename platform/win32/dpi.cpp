// The DPI the window is drawn at, and its frame at that DPI, on every Windows version.
#include "platform/win32/dpi.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/system_function.hpp"

namespace kelvarin::win32 {

int systemDpi(int fallback) noexcept {
  const WindowDc screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : fallback;
}

int windowDpi(HWND window, int fallback) noexcept {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow =
      systemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : systemDpi(fallback);
}

bool adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) noexcept {
  using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjustForDpi =
      systemFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    return adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)) != 0;
  }
  return ::AdjustWindowRectEx(&rect, style, FALSE, exStyle) != 0;
}

} // namespace kelvarin::win32
