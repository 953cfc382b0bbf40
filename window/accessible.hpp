// What a screen reader needs, made on its first request (WM_GETOBJECT), gone with the window.
#pragma once

#include "platform/win32/handles.hpp"
#include "window/accessible_client.hpp"

#include <windows.h>

#include <objbase.h>

#include <optional>

namespace kelvarin::win32 {

// The thread's single-threaded COM apartment, joined for as long as this lives; a join that
// finds the thread in it already is undone too. Where the thread is multithreaded, nothing is
// joined and nothing left.
class Apartment {
public:
  using Join = HRESULT(WINAPI*)(void*, DWORD);
  using Leave = void(WINAPI*)();

  Apartment(Join join, Leave leave) noexcept
      : leave_(SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED)) ? leave : nullptr) {}
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  ~Apartment() {
    if (leave_ != nullptr) {
      leave_();
    }
  }

  // Whether the thread is in the single-threaded apartment.
  explicit operator bool() const noexcept { return leave_ != nullptr; }

private:
  Leave leave_;
};

// The accessibility DLLs, a single-threaded COM apartment on the window's thread (to marshal
// the object, as Windows requires, and to have every call to it on this thread, as it is no
// more thread-safe than the window), and the window's accessible object. Most runs never meet
// a screen reader, so start-up loads none of it. The DLLs come first, then the apartment, then
// the object; they go in reverse.
class Accessibility {
public:
  // Where a DLL or a function is missing, the thread is multithreaded, or the system's object
  // cannot be had, it answers nothing, and the window still has the system's own object.
  Accessibility(const AccessibleParts& parts, HWND window) noexcept;
  Accessibility(const Accessibility&) = delete;
  Accessibility& operator=(const Accessibility&) = delete;
  // Disconnects the object first, from this program and from the proxies readers hold: every
  // call a reader makes on it gets RPC_E_DISCONNECTED from then on.
  ~Accessibility();

  // The answer to WM_GETOBJECT for the client area.
  std::optional<LRESULT> answer(WPARAM wParam) noexcept;

private:
  UniqueModule ole32_;
  UniqueModule oleacc_;
  UniqueModule oleaut_;
  std::optional<Apartment> apartment_;
  HRESULT(WINAPI* disconnectObject_)(LPUNKNOWN, DWORD) = nullptr;
  LRESULT(WINAPI* lresultFromObject_)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  ComPtr<AccessibleClient> client_;
};

} // namespace kelvarin::win32
