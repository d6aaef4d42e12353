#include "tools/byte_set_literal.h"

#include <cstdint>
#include <cstdio>

namespace velmora::tools {

void WriteByteSetBlock(std::ostream& out, const std::string& name, const std::string& bytes) {
    std::string block(8, '\0');
    uint32_t length = static_cast<uint32_t>(bytes.size());
    block[0] = 1;
    for (int i = 0; i < 4; ++i) block[4 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    block += bytes;
    out << "alignas(8) VELMORA_CONSTANT const char " << name << "[] =\n    \"";
    size_t column = 0;
    for (unsigned char c : block) {
        if (column >= 96) {
            out << "\"\n    \"";
            column = 0;
        }
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
            out << c;
            column += 1;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\%03o", c);
            out << escape;
            column += 4;
        }
    }
    out << "\";\n\n";
}

}  // namespace velmora::tools
