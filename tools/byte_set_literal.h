// Writes a byte-set block {1, length, bytes} as the definition of a C++
// constant in the program's constant region, for build tools that place
// whole files in the program image.
#pragma once

#include <ostream>
#include <string>

namespace velmora::tools {

void WriteByteSetBlock(std::ostream& out, const std::string& name, const std::string& bytes);

}  // namespace velmora::tools
