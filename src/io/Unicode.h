// Conversions between UTF-8 (the system's strings) and UTF-16. Invalid input raises
// std::runtime_error with "Invalid UTF-8 sequence.", "Error in UTF-8 to UTF-16 conversion." or
// "Error in UTF-16 to UTF-8 conversion.".
#pragma once

#include <string>

namespace loom {

std::u16string toUtf16(const std::string& utf8);
std::string toUtf8(const std::u16string& utf16);

}  // namespace loom
