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

namespace {

// The effective DPI of the monitor the window is on (Windows 8.1 and later); 0 where the system
// cannot say.
UINT monitorDpi(HWND window) noexcept {
  using MonitorFromWindowFunction = HMONITOR(WINAPI*)(HWND, DWORD);
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  const UniqueModule shcore = loadSystemModule(L"shcore.dll");
  const auto getDpiForMonitor =
      moduleFunction<GetDpiForMonitorFunction>(shcore.get(), "GetDpiForMonitor");
  const auto monitorFromWindow =
      systemFunction<MonitorFromWindowFunction>(L"user32.dll", "MonitorFromWindow");
  UINT x = 0;
  UINT y = 0;
  constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
  return getDpiForMonitor != nullptr && monitorFromWindow != nullptr &&
                 SUCCEEDED(getDpiForMonitor(monitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                            kEffectiveDpi, &x, &y))
             ? y
             : 0;
}

} // namespace

// The window's own DPI from Windows 10 1607; before it, per monitor from 8.1, since the
// program declares itself aware of each monitor's.
int windowDpi(HWND window, int fallback) noexcept {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  const auto getDpiForWindow =
      systemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : monitorDpi(window);
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
