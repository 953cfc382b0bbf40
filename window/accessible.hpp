// The window's controls for screen readers (Microsoft Active Accessibility). The labels are
// painted on the window's surface, so without this a screen reader would see nothing but the
// text box: each command label is a push button named by its current word, described by its
// tooltip, whose default action runs its command; the two small labels are static text.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <optional>
#include <string_view>

namespace kelvarin::win32 {

// What the accessible object needs of the window that shows the controls.
class AccessibleHost {
public:
  virtual HWND window() const noexcept = 0;
  virtual HWND textBox() const noexcept = 0;
  virtual std::wstring_view textOf(std::size_t control) const noexcept = 0;
  // The control's rectangle in client coordinates, at the window's DPI.
  virtual RECT rectOf(std::size_t control) const noexcept = 0;
  virtual std::optional<std::size_t> controlAt(POINT client) const noexcept = 0;
  // Runs the control's command after the call has returned, as a click would.
  virtual void press(std::size_t control) noexcept = 0;
  // The command label with the keyboard focus, while the window has it.
  virtual std::optional<std::size_t> focusedLabel() const noexcept = 0;
  virtual void takeFocus(std::size_t control) noexcept = 0;

protected:
  ~AccessibleHost() = default;
};

// Tells screen readers that the command label has taken the keyboard focus. The text box is a
// window of its own, for which the system tells them.
void announceFocus(HWND window, std::size_t label) noexcept;

// All a screen reader needs, made on its first request (WM_GETOBJECT) and gone with the
// window: the accessibility DLLs, a single-threaded COM apartment on the window's thread (to
// marshal the object, as Windows requires), and the window's accessible object. Most runs
// never meet a screen reader, so start-up loads none of it.
class Accessibility {
public:
  explicit Accessibility(AccessibleHost& host) noexcept;
  Accessibility(const Accessibility&) = delete;
  Accessibility& operator=(const Accessibility&) = delete;
  // Disconnects the object first: a reader holding it gets RPC_E_DISCONNECTED from then on.
  ~Accessibility();

  // The answer to WM_GETOBJECT; nothing where the system's default answer should be given.
  std::optional<LRESULT> answer(WPARAM wParam, LPARAM lParam) noexcept;

private:
  class Runtime;

  AccessibleHost& host_;
  bool tried_ = false;
  std::unique_ptr<Runtime> runtime_;
};

} // namespace kelvarin::win32
