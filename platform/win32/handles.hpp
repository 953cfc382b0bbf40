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

struct FileTraits {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};

struct KernelTraits {
  using Handle = HANDLE;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::CloseHandle(h); }
};

template <typename GdiHandle> struct GdiTraits {
  using Handle = GdiHandle;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteObject(h); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct CursorTraits {
  using Handle = HCURSOR;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DestroyCursor(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::FreeLibrary(h); }
};

struct DcTraits {
  using Handle = HDC;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DeleteDC(h); }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::DestroyWindow(h); }
};

struct LocalTraits {
  using Handle = HLOCAL;
  static Handle invalid() noexcept { return nullptr; }
  static void close(Handle h) noexcept { ::LocalFree(h); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueFont = Unique<GdiTraits<HFONT>>;
using UniqueBitmap = Unique<GdiTraits<HBITMAP>>;
using UniqueIcon = Unique<IconTraits>;
using UniqueCursor = Unique<CursorTraits>;
using UniqueDc = Unique<DcTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueLocal = Unique<LocalTraits>;

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
