// Move-only owners for the Win32 handles the program holds: each is freed exactly once.
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

namespace kelvarin::win32 {

template <typename Traits> class Unique {
public:
  using Handle = typename Traits::Handle;

  Unique() noexcept = default;
  explicit Unique(Handle handle) noexcept : handle_(handle) {}
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  Handle get() const noexcept { return handle_; }
  Handle operator->() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }
  // For a call that hands over a new handle through a pointer: the old one goes first.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

  Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
  // Frees the handle now and says whether that worked: closing a file can fail for a write
  // the system had held back. A handle whose close says nothing counts as closed.
  bool close() noexcept {
    if constexpr (std::is_void_v<decltype(Traits::close(handle_))>) {
      Traits::close(release());
      return true;
    } else {
      return Traits::close(release());
    }
  }
  void reset(Handle handle = Traits::invalid()) noexcept {
    if (handle_ != Traits::invalid() && handle_ != handle) {
      Traits::close(handle_);
    }
    handle_ = handle;
  }

private:
  Handle handle_ = Traits::invalid();
};

// Files say "invalid" with INVALID_HANDLE_VALUE; everything else with null.
struct FileTraits {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool close(Handle h) noexcept { return ::CloseHandle(h) != 0; }
};

template <typename HandleType, auto Close> struct NullTraits {
  using Handle = HandleType;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { Close(h); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<NullTraits<HANDLE, &::CloseHandle>>;
using UniqueFont = Unique<NullTraits<HFONT, &::DeleteObject>>;
using UniqueBitmap = Unique<NullTraits<HBITMAP, &::DeleteObject>>;
using UniqueBrush = Unique<NullTraits<HBRUSH, &::DeleteObject>>;
using UniqueIcon = Unique<NullTraits<HICON, &::DestroyIcon>>;
using UniqueCursor = Unique<NullTraits<HCURSOR, &::DestroyCursor>>;
using UniqueDc = Unique<NullTraits<HDC, &::DeleteDC>>;
using UniqueModule = Unique<NullTraits<HMODULE, &::FreeLibrary>>;
using UniqueWindow = Unique<NullTraits<HWND, &::DestroyWindow>>;
using UniqueLocal = Unique<NullTraits<HLOCAL, &::LocalFree>>;

// A COM interface pointer holding one reference.
template <typename Interface> struct ComTraits {
  using Handle = Interface*;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { h->Release(); }
};

template <typename Interface> using ComPtr = Unique<ComTraits<Interface>>;

// A window class, registered for as long as this lives; every window of it must be gone first.
class WindowClass {
public:
  WindowClass() noexcept = default;
  explicit WindowClass(const WNDCLASSEXW& windowClass) noexcept
      : instance_(windowClass.hInstance), atom_(::RegisterClassExW(&windowClass)) {}
  WindowClass(WindowClass&& other) noexcept
      : instance_(other.instance_), atom_(std::exchange(other.atom_, ATOM{})) {}
  WindowClass& operator=(WindowClass&& other) noexcept {
    WindowClass old(std::move(*this));
    instance_ = other.instance_;
    atom_ = std::exchange(other.atom_, ATOM{});
    return *this;
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass() {
    if (atom_ != 0) {
      ::UnregisterClassW(MAKEINTATOM(atom_), instance_);
    }
  }

  explicit operator bool() const noexcept { return atom_ != 0; }
  const wchar_t* name() const noexcept { return MAKEINTATOM(atom_); }

private:
  HINSTANCE instance_ = nullptr;
  ATOM atom_ = 0;
};

// The DC BeginPaint gives for one WM_PAINT, ended with EndPaint, which every BeginPaint needs.
class PaintDc {
public:
  explicit PaintDc(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { ::EndPaint(window_, &paint_); }

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's DC (the screen's, for null) from GetDC, released when this goes.
class WindowDc {
public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) {
      ::ReleaseDC(window_, dc_);
    }
  }

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  HWND window_;
  HDC dc_;
};

// Keeps a GDI object selected into a DC for one scope, then puts the old one back.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    // HGDI_ERROR, without the header's sign-changing cast on 64-bit.
    if (old_ != nullptr && old_ != reinterpret_cast<HGDIOBJ>(INT_PTR{-1})) {
      ::SelectObject(dc_, old_);
    }
  }

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace kelvarin::win32
