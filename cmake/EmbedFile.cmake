# Writes a C++ source that holds one file's bytes as an array, for programs
# that carry their data inside (the native game's window icon). Run by the
# build as: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -P EmbedFile.cmake
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes
       "${bytes}")
file(WRITE ${OUTPUT} "// Made by the build from ${INPUT}.\n#include <cstddef>\n"
     "extern const unsigned char ${NAME}[] = {\n${bytes}};\nextern const std::size_t ${NAME}Size = ${size};\n")
