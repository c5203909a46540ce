# Writes a C++ source that defines <FUNCTION>() returning the bytes of INPUT.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DHEADER=<include> -DFUNCTION=<name> -P EmbedFile.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}
"// Generated from ${name} at build time; do not edit.
#include \"${HEADER}\"

namespace {
const unsigned char kBytes[] = {
${bytes}
};
}  // namespace

std::span<const unsigned char> ${FUNCTION}()
{
    return kBytes;
}
")
