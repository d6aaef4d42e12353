// Build tool: rewrites a UTF-8 C++ source so that every non-ASCII character
// becomes the octal escapes of its GBK bytes. Literals then hold GBK bytes
// whatever the compiler's execution character set, and a GBK trail byte of
// 0x5C can never be read as a backslash.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gbk_source INPUT.cpp OUTPUT.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        std::cerr << "gbk_source: cannot read " << argv[1] << "\n";
        return 1;
    }
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out = "#line 1 \"" + std::string(argv[1]) + "\"\n";
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += text[i++];
            continue;
        }
        size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        char* src = text.data() + i;
        size_t srcLeft = n;
        char gbk[8];
        char* dst = gbk;
        size_t dstLeft = sizeof gbk;
        if (i + n > text.size() || iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) {
            std::cerr << argv[1] << ": character at byte " << i << " has no GBK form\n";
            return 1;
        }
        for (char* p = gbk; p < dst; ++p) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\%03o", static_cast<unsigned char>(*p));
            out += esc;
        }
        i += n;
    }
    iconv_close(cd);
    std::ofstream(argv[2], std::ios::binary) << out;
    return 0;
}
