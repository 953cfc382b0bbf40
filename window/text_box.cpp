// The mode text box's creation, its fit to the window's DPI, and its text.
#include "window/text_box.hpp"

#include "platform/win32/system_error.hpp"

#include <string>

namespace kelvarin::win32 {

Status TextBox::create(HWND parent, HINSTANCE instance, std::wstring_view text, HFONT font,
                       const RECT& rect) {
  window_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", std::wstring(text).c_str(),
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, instance, nullptr);
  if (window_ == nullptr) {
    return lastError();
  }
  setFont(font);
  return {};
}

void TextBox::setFont(HFONT font) {
  if (window_ != nullptr) {
    ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

Status TextBox::place(const RECT& rect) {
  return check(window_ == nullptr ||
               ::SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE) != 0);
}

Status TextBox::setText(std::wstring_view text) {
  return check(::SetWindowTextW(window_, std::wstring(text).c_str()) != 0);
}

} // namespace kelvarin::win32
