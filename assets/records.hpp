// The picture records the window carries, one for each control that shows a picture, so the
// plate and the hand cursor are carried three times. A record is the complete BMP, ICO, GIF
// or CUR file behind a twelve-byte header: the total length (the bytes after this field),
// the tag "lt" and two zero bytes, and the file's length, both lengths 32-bit little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kelvarin::assets {

extern const std::span<const std::uint8_t> frmMainPicture;     // wall.bmp: the background
extern const std::span<const std::uint8_t> frmMainIcon;        // kelvarin.ico
extern const std::span<const std::uint8_t> cmdSwitchPicture;   // plate.gif
extern const std::span<const std::uint8_t> cmdExitPicture;     // plate.gif
extern const std::span<const std::uint8_t> imgRunPicture;      // plate.gif
extern const std::span<const std::uint8_t> lblSwitchMouseIcon; // hand.cur
extern const std::span<const std::uint8_t> lblRunMouseIcon;    // hand.cur
extern const std::span<const std::uint8_t> lblExitMouseIcon;   // hand.cur

inline constexpr std::size_t kRecordHeaderSize = 12;

// The file inside a record; nothing if the header's lengths disagree with the record's size
// or the tag is wrong.
std::optional<std::span<const std::uint8_t>> recordFile(std::span<const std::uint8_t> record);

} // namespace kelvarin::assets
