// Move-only owners for the Win32 handles the program holds: each is freed exactly once.
#pragma once

#include <windows.h>

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
  explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

  Handle release() noexcept { return std::exchange(handle_, Traits::invalid()); }
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
  static void close(Handle h) noexcept { ::CloseHandle(h); }
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
using UniqueIcon = Unique<NullTraits<HICON, &::DestroyIcon>>;
using UniqueCursor = Unique<NullTraits<HCURSOR, &::DestroyCursor>>;
using UniqueDc = Unique<NullTraits<HDC, &::DeleteDC>>;
using UniqueModule = Unique<NullTraits<HMODULE, &::FreeLibrary>>;
using UniqueWindow = Unique<NullTraits<HWND, &::DestroyWindow>>;
using UniqueLocal = Unique<NullTraits<HLOCAL, &::LocalFree>>;

// Keeps a GDI object selected into a DC for one scope, then puts the old one back.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (old_ != nullptr && old_ != HGDI_ERROR) {
      ::SelectObject(dc_, old_);
    }
  }

private:
  HDC dc_;
  HGDIOBJ old_;
};

} // namespace kelvarin::win32
