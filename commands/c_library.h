// The C library calls the text commands need that each system spells its
// own way (c_library_posix.cpp, c_library_win32.cpp).
#pragma once

#include <cstddef>
#include <string>

namespace velmora::commands {

// The first place `needle` occurs in `haystack`, or null.
const void* FindBytes(const void* haystack, size_t haystackLength, const void* needle,
                      size_t needleLength);

// A number as strtod reads it in the "C" locale, whatever locale the window
// layer installs: a decimal comma would change every price.
double ReadDecimal(const std::string& text);

}  // namespace velmora::commands
