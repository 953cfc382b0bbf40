// Pixels read back from GDI, and written out as BMP files to be looked at.
#pragma once

#include "pictures/pictures.hpp"
#include "platform/win32/handles.hpp"

#include <windows.h>

#include <optional>
#include <string>

namespace kelvarin::e2e {

// Writes the pixels as a 24-bit BMP file, to be looked at.
void saveBmp(const pictures::Canvas& picture, const std::wstring& path);

// A memory DC drawing into a 32-bit top-down DIB section of its own, to be read back.
class DibSection {
public:
  DibSection(int width, int height);
  HDC dc() const noexcept { return dc_.get(); }
  // What has been drawn so far.
  pictures::Canvas pixels() const;

private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  win32::UniqueDc dc_;
  win32::UniqueBitmap bitmap_;
  std::optional<win32::Selection> selected_; // goes first, so the bitmap is deselected
};

} // namespace kelvarin::e2e
