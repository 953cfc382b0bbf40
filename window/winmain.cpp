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
  try {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    if (::InitCommonControlsEx(&controls) == FALSE) {
      throw win32::lastError();
    }
    win32::MainWindow window(instance, platform);
    if (!window.open(showCommand)) {
      return 0;
    }
    MSG message{};
    BOOL got = 0;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    return got < 0 ? 1 : static_cast<int>(message.wParam);
  } catch (const Error& error) {
    reportUnhandled(platform, error, kCaption);
  } catch (...) {
    reportUnhandled(platform,
                    Error(ERROR_NOT_ENOUGH_MEMORY, win32::systemMessage(ERROR_NOT_ENOUGH_MEMORY)),
                    kCaption);
  }
  return 1;
}
