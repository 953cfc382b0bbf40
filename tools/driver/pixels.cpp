// Pixels read back from GDI, and written out as BMP files to be looked at.
#include "tools/driver/pixels.hpp"

#include "tools/driver/failure.hpp"
#include "tools/driver/files.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kelvarin::e2e {

void saveBmp(const pictures::Canvas& picture, const std::wstring& path) {
  const int width = picture.width;
  const int height = picture.height;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  const std::size_t offset = sizeof file + sizeof header;
  file.bfType = 0x4D42; // "BM"
  file.bfSize = static_cast<DWORD>(offset + rowBytes * static_cast<std::size_t>(height));
  file.bfOffBits = static_cast<DWORD>(offset);
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height; // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  std::string bytes(file.bfSize, '\0');
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &header, sizeof header);
  for (int y = 0; y < height; ++y) {
    char* row = bytes.data() + offset + rowBytes * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      for (int channel = 0; channel < 3; ++channel) {
        row[x * 3 + channel] = static_cast<char>((pixel >> (8 * channel)) & 0xFF);
      }
    }
  }
  writeFile(path, bytes);
}

DibSection::DibSection(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height; // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_.reset(::CreateCompatibleDC(nullptr));
  bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!dc_ || !bitmap_) {
    fail("CreateDIBSection");
  }
  selected_.emplace(dc_.get(), bitmap_.get());
}

pictures::Canvas DibSection::pixels() const {
  ::GdiFlush(); // GDI may still be drawing into the bits
  const auto* first = static_cast<const std::uint32_t*>(bits_);
  pictures::Canvas out(width_, height_);
  std::transform(first, first + width_ * height_, out.pixels.begin(),
                 [](std::uint32_t pixel) { return pixel & 0x00FFFFFF; });
  return out;
}

} // namespace kelvarin::e2e
