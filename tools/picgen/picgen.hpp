// The window's four pictures, drawn from code: the stone wall, the window icon, the ice plate
// and the hand cursor. Every picture comes out byte for byte the same on every run: the only
// randomness is our own generator started from fixed seeds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace kelvarin::picgen {

using Bytes = std::vector<std::uint8_t>;

Bytes wallBitmap(); // wall.bmp
Bytes windowIcon(); // kelvarin.ico
Bytes plateGif();   // plate.gif
Bytes handCursor(); // hand.cur

struct PictureFile {
  std::string_view name;
  Bytes (*draw)();
};

inline constexpr PictureFile kPictureFiles[] = {{"wall.bmp", wallBitmap},
                                                {"kelvarin.ico", windowIcon},
                                                {"plate.gif", plateGif},
                                                {"hand.cur", handCursor}};

// Writes the four files into `folder`, which must exist.
void writePictures(const std::filesystem::path& folder);

} // namespace kelvarin::picgen
