# Writes the bytes of INPUT as the C++ array NAME (with NAME##Size) into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT} "// Made by embed_file.cmake from ${INPUT}.\n#include <cstddef>\n\nnamespace posixplat {\n\n"
  "extern const unsigned char ${NAME}[] = {\n    ${bytes}\n};\nextern const std::size_t ${NAME}Size = ${size};\n\n}  // namespace posixplat\n")
