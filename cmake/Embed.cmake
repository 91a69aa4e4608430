# Writes OUTPUT, a C++ source defining `std::string_view FUNCTION()` that
# returns the bytes of INPUT. Run with cmake -P at build time.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "static const char kData[] = {${bytes} 0};\n"
  "std::string_view ${FUNCTION}() { return std::string_view(kData, ${size}); }\n")
