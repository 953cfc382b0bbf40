# cmake -DASSETS=<folder> -DOUTPUT=<file.cpp> -P embed-pictures.cmake
# Writes the picture records the window carries: one per control that shows a picture, each
# the complete file behind a header (total length, the tag "lt" and two zero bytes, data
# length; the lengths 32-bit little-endian, the total counting the bytes after itself).

# control's record = file it carries
set(records
  frmMainPicture=wall.bmp
  frmMainIcon=kelvarin.ico
  cmdSwitchPicture=plate.gif
  cmdExitPicture=plate.gif
  imgRunPicture=plate.gif
  lblSwitchMouseIcon=hand.cur
  lblRunMouseIcon=hand.cur
  lblExitMouseIcon=hand.cur)

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
endforeach()

set(source "// Generated from assets/ by cmake/embed-pictures.cmake: do not edit.
#include \"assets/records.hpp\"

namespace kelvarin::assets {
namespace {

${arrays}} // namespace

${spans}
} // namespace kelvarin::assets
")
file(WRITE "${OUTPUT}" "${source}")
