// The program's entry: the platform's part of start-up, creating frmMain and running its
// event loop until the window is gone.
#include "mode/texts.hpp"
#include "platform/report.hpp"
#include "platform/win32/dll_search.hpp"
#include "platform/win32/system_error.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/main_window.hpp"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace kelvarin;
  win32::restrictDllSearch();
  win32::Win32Platform platform;

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  Status started = win32::check(::InitCommonControlsEx(&controls) != FALSE);
  win32::MainWindow window(instance, platform);
  if (started.ok()) {
    started = window.open(showCommand);
  }
  if (!started.ok()) {
    reportUnhandled(platform, started.error(), kCaption);
    return 1;
  }
  MSG message{};
  BOOL got = 0;
  while (window.isOpen() && (got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return got < 0 ? 1 : 0;
}
