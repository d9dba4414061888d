# cmake -DOUTPUT=<file.cpp> -DPICTURE_DIR=<dir> -P embed_pictures.cmake
# Writes the four button BMPs as byte arrays behind window/button_pictures.h.
set(names start_pressed start_released save_released save_pressed)
set(code "// Generated from the BMP files in ${PICTURE_DIR}.\n#include \"window/button_pictures.h\"\n\nnamespace quorix {\n")
foreach(name IN LISTS names)
  file(READ "${PICTURE_DIR}/${name}.bmp" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
  string(APPEND code "namespace {\nconst std::uint8_t ${name}_bytes[] = {\n${bytes}};\n}  // namespace\n")
  string(APPEND code "std::span<const std::uint8_t> ${name}_bmp() { return ${name}_bytes; }\n\n")
endforeach()
string(APPEND code "}  // namespace quorix\n")
file(WRITE "${OUTPUT}.tmp" "${code}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
