# cmake -DRECORDS=<name=file,...> -DASSETS=<folder> -DSOURCE=<file.cpp> -DHEADER=<file.hpp>
#   -P embed-pictures.cmake
# Writes the picture records that assets/CMakeLists.txt lists: each the complete file behind a
# header (total length, the tag "lt" and two zero bytes, data length; the lengths 32-bit
# little-endian, the total counting the bytes after itself). The header declares each record by
# name and lists them all in one table.
string(REPLACE "," ";" records "${RECORDS}")

function(little_endian_32 value out)
  set(bytes "")
  foreach(shift 0 8 16 24)
    math(EXPR byte "(${value} >> ${shift}) & 255" OUTPUT_FORMAT HEXADECIMAL)
    list(APPEND bytes ${byte})
  endforeach()
  list(JOIN bytes "," joined)
  set(${out} "${joined}," PARENT_SCOPE)
endfunction()

set(arrays "")
set(spans "")
set(declarations "")
set(entries "")
foreach(record IN LISTS records)
  string(REPLACE "=" ";" pair "${record}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(SIZE "${ASSETS}/${file}" data_length)
  file(READ "${ASSETS}/${file}" hex HEX)
  math(EXPR total_length "${data_length} + 8")
  little_endian_32(${total_length} total_bytes)
  little_endian_32(${data_length} data_bytes)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," data "${hex}")
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],)(0x[0-9a-f][0-9a-f],))"
    "\\1\n" data "${data}")
  string(APPEND arrays "// ${file}\nconstexpr std::uint8_t k_${name}[] = {\n"
    "${total_bytes}0x6c,0x74,0x00,0x00,${data_bytes}\n${data}};\n\n")
  string(APPEND spans "const std::span<const std::uint8_t> ${name}{k_${name}};\n")
  string(APPEND declarations "extern const std::span<const std::uint8_t> ${name}; // ${file}\n")
  string(APPEND entries "    {\"${name}\", \"${file}\", &${name}},\n")
endforeach()
list(LENGTH records count)

set(source "// Generated from assets/ by cmake/embed-pictures.cmake: do not edit.
#include \"assets/picture_records.hpp\"

namespace kelvarin::assets {
namespace {

${arrays}} // namespace

${spans}
} // namespace kelvarin::assets
")
file(WRITE "${SOURCE}" "${source}")

set(header "// Generated from assets/CMakeLists.txt by cmake/embed-pictures.cmake: do not edit.
// The picture records the window carries, each by name, and all of them in one table.
#pragma once

#include \"assets/records.hpp\"

#include <array>

namespace kelvarin::assets {

${declarations}
inline constexpr std::array<Record, ${count}> kRecords{{
${entries}}};

} // namespace kelvarin::assets
")
file(WRITE "${HEADER}" "${header}")
