// The mode text box's creation, its fit to the window's DPI, and its text.
#include "window/text_box.hpp"

#include "platform/win32/system_error.hpp"

#include <algorithm>
#include <array>

namespace kelvarin::win32 {

namespace {

// The box's texts are the built-in mode texts, far shorter than this; the system wants them
// ended by a null.
class Terminated {
public:
  explicit Terminated(std::wstring_view text) noexcept {
    const auto end =
        std::copy_n(text.begin(), std::min(text.size(), chars_.size() - 1), chars_.begin());
    *end = L'\0';
  }
  const wchar_t* get() const noexcept { return chars_.data(); }

private:
  std::array<wchar_t, 64> chars_;
};

} // namespace

Status TextBox::create(HWND parent, HINSTANCE instance, std::wstring_view text, HFONT font,
                       const RECT& rect) {
  window_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", Terminated(text).get(),
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
  return check(::SetWindowTextW(window_, Terminated(text).get()) != 0);
}

} // namespace kelvarin::win32
