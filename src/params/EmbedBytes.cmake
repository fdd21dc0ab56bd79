# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -DHEADER=dir/name.h -P EmbedBytes.cmake
# Writes a C++ source that defines the bytes of INPUT as `const unsigned char SYMBOL##Data[]` and
# their count as `const int32_t SYMBOL##Size` in namespace loom::params, as HEADER declares them.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}"
"// Generated at build time from ${INPUT}; do not edit.
#include \"${HEADER}\"

namespace loom::params {

const unsigned char ${SYMBOL}Data[] = {
    ${bytes}
};
const int32_t ${SYMBOL}Size = ${size};

}  // namespace loom::params
")
