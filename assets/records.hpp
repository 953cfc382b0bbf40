// What a picture record is: the complete BMP, ICO, GIF or CUR file behind a twelve-byte header,
// the total length (the bytes after this field), the tag "lt" and two zero bytes, and the
// file's length, both lengths 32-bit little-endian. The records themselves are generated into
// assets/picture_records.hpp.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kelvarin::assets {

// One entry of the table of records: the record's name, the file it carries, its bytes.
struct Record {
  std::string_view name;
  std::string_view file;
  const std::span<const std::uint8_t>* bytes;
};

inline constexpr std::size_t kRecordHeaderSize = 12;

// The file inside a record; nothing if the header's lengths disagree with the record's size
// or the tag is wrong.
std::optional<std::span<const std::uint8_t>> recordFile(std::span<const std::uint8_t> record);

} // namespace kelvarin::assets
