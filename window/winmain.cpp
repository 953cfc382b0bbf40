// The program's entry: the platform's part of start-up, then frmMain's window, which runs
// until the program ends.
#include "platform/win32/dll_search.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/main_window.hpp"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace kelvarin;
  win32::restrictDllSearch();
  win32::Win32Platform platform;
  win32::MainWindow window(instance, platform);
  return window.run(showCommand);
}
