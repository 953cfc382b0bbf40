// The program's entry: the platform's part of start-up, creating frmMain and running its
// event loop until the window is gone.
#include "mode/texts.hpp"
#include "platform/report.hpp"
#include "platform/win32/dll_search.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/main_window.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace kelvarin;
  win32::restrictDllSearch();
  win32::Win32Platform platform;
  win32::MainWindow window(instance, platform);
  if (const Status started = window.open(showCommand); !started.ok()) {
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
