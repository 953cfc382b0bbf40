// The window's class, registered with the program's icon at the system's two icon sizes.
#pragma once

#include "platform/error.hpp"
#include "platform/win32/handles.hpp"

#include <windows.h>

namespace kelvarin::win32 {

// The icons go with the class, so the window has them from its creation on.
class MainWindowClass {
public:
  // Makes the icons, then registers the class.
  Status make(HINSTANCE instance, WNDPROC procedure);
  const wchar_t* name() const noexcept { return class_.name(); }

private:
  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  WindowClass class_; // borrows the icons, which are declared first and so outlive it
};

} // namespace kelvarin::win32
