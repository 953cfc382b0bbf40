// Reading a picture record's header.
#include "assets/records.hpp"

namespace kelvarin::assets {
namespace {

std::uint32_t littleEndian32(std::span<const std::uint8_t> bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

std::optional<std::span<const std::uint8_t>> recordFile(std::span<const std::uint8_t> record) {
  if (record.size() < kRecordHeaderSize) {
    return std::nullopt;
  }
  const std::uint32_t totalLength = littleEndian32(record.subspan(0, 4));
  const std::uint32_t dataLength = littleEndian32(record.subspan(8, 4));
  const bool tagged = record[4] == 'l' && record[5] == 't' && record[6] == 0 && record[7] == 0;
  const std::size_t fileSize = record.size() - kRecordHeaderSize;
  if (!tagged || dataLength != fileSize || totalLength != fileSize + 8) {
    return std::nullopt;
  }
  return record.subspan(kRecordHeaderSize);
}

} // namespace kelvarin::assets
