// Build tool: copies a UTF-8 text file as GBK. A character that GBK cannot
// hold stops the build rather than reaching the copy mangled.
#include <iconv.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gbk_file INPUT OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "gbk_file: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // GBK never takes more bytes than UTF-8 for the same character.
    std::string out(text.size(), '\0');
    char* src = text.data();
    size_t srcLeft = text.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    iconv_t cd = iconv_open("GBK", "UTF-8");
    bool converted = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1);
    iconv_close(cd);
    if (!converted) {
        std::cerr << argv[1] << ": character at byte " << (src - text.data())
                  << " has no GBK form\n";
        return 1;
    }
    out.resize(out.size() - dstLeft);
    std::ofstream file(argv[2], std::ios::binary);
    if (!(file << out).flush()) {
        std::cerr << "gbk_file: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
