# Writes OUTPUT, a C++ source holding the editor's bitmap files as byte arrays, so that the
# Linux library carries the same pictures the DLL's resources do. Called with
# -DOUTPUT=... -DBITMAPS=<dir> (files named bmp<resource id>_<name>.bmp).
file(GLOB files "${BITMAPS}/bmp*.bmp")
list(SORT files)
set(arrays "")
set(table "")
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  string(REGEX MATCH "^bmp([0-9]+)_" _ "${name}")
  set(id ${CMAKE_MATCH_1})
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "const std::uint8_t bitmap${id}[${size}] = {\n${bytes}};\n")
  string(APPEND table "    {${id}, bitmap${id}, ${size}},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/bitmaps by cmake/EmbedBitmaps.cmake.
#include \"EmbeddedBitmaps.h\"

namespace {
${arrays}
} // namespace

const std::array<EmbeddedBitmap, kEmbeddedBitmapCount> kEmbeddedBitmaps{{
${table}}};
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
