// The program's entry, in place of the C runtime's start-up: the platform's part of start-up,
// then frmMain's window, which runs until the program ends. The exe is linked without that
// start-up (window/CMakeLists.txt says what goes with it), so the instance and the show
// command are asked of Windows here, and the exit code goes to ExitProcess.
#include "platform/win32/dll_search.hpp"
#include "platform/win32/win32_platform.hpp"
#include "window/main_window.hpp"

#include <windows.h>

namespace {

// How the starting program asked the window to be shown, as the C runtime would hand it to
// wWinMain.
int showCommand() noexcept {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

int run() {
  using namespace kelvarin;
  win32::restrictDllSearch();
  win32::Win32Platform platform;
  // Asked for no module by name, it is the exe's own, which cannot be missing.
  win32::MainWindow window(::GetModuleHandleW(nullptr), platform);
  return window.run(showCommand());
}

} // namespace

// Windows calls it as a function of no arguments, the stack aligned as the code assumes (4
// bytes in 32 bits, see CMakeLists.txt; 16 in 64). The window and the platform are gone before
// the process ends.
extern "C" [[noreturn]] void kelvarinStart() noexcept {
  ::ExitProcess(static_cast<UINT>(run()));
}
