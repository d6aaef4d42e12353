// Build tool: copies a UTF-8 text file as GBK, with --crlf also ending its
// lines in CR LF as the collector's own text boxes write them. A character
// that GBK cannot hold stops the build rather than reaching the copy mangled.
#include <iconv.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    const bool crlf = argc == 4 && std::string(argv[1]) == "--crlf";
    if (argc != 3 && !crlf) {
        std::cerr << "usage: gbk_file [--crlf] INPUT OUTPUT\n";
        return 2;
    }
    const char* input = argv[argc - 2];
    const char* output = argv[argc - 1];
    std::ifstream in(input, std::ios::binary);
    if (!in) {
        std::cerr << "gbk_file: cannot read " << input << "\n";
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (crlf) {
        std::string lines;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
            lines += text[i];
        }
        text = std::move(lines);
    }
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
        std::cerr << input << ": character at byte " << (src - text.data()) << " has no GBK form\n";
        return 1;
    }
    out.resize(out.size() - dstLeft);
    std::ofstream file(output, std::ios::binary);
    if (!(file << out).flush()) {
        std::cerr << "gbk_file: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
