// The mode text box: the window's only child window, the system's plain read-only EDIT.
#pragma once

#include "platform/error.hpp"

#include <windows.h>

#include <string_view>

namespace kelvarin::win32 {

class TextBox {
public:
  // Read-only: nothing reads the box back, and Butt rewrites it on every change. Made where it
  // stays and with its font, as the window's first frame shows it.
  Status create(HWND parent, HINSTANCE instance, std::wstring_view text, HFONT font,
                const RECT& rect);
  // Its font and rectangle at the window's DPI; nothing before the box is made.
  void setFont(HFONT font);
  Status place(const RECT& rect);
  Status setText(std::wstring_view text);

  // Null before create() and once the window has destroyed it.
  HWND handle() const noexcept { return window_; }
  void forget() noexcept { window_ = nullptr; }

private:
  HWND window_ = nullptr; // a child: the window destroys it
};

} // namespace kelvarin::win32
