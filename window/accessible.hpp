// The window's controls for screen readers (Microsoft Active Accessibility). The labels are
// painted on the window's surface, so without this a screen reader would see nothing but the
// text box: each command label is a push button named by its current word, described by its
// tooltip, whose default action runs its command; the two small labels are static text.
#pragma once

#include <windows.h>

#include <oleacc.h>

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

protected:
  ~AccessibleHost() = default;
};

// Creates the object for the window's client area, holding one reference; null if the
// system's own part of it cannot be had.
IAccessible* createAccessibleClient(AccessibleHost& host);

// The answer to WM_GETOBJECT for the client area, from a client createAccessibleClient made.
LRESULT accessibleResult(IAccessible* client, WPARAM wParam) noexcept;

// The window is going: later calls from screen readers get RPC_E_DISCONNECTED.
void disconnectAccessibleClient(IAccessible* client) noexcept;

} // namespace kelvarin::win32
