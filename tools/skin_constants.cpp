// Build tool: writes the C++ source that places the skin engine's file and
// the skins in the program's constant region, each as a byte-set block
// {1, length, bytes}.
//
//   skin_constants OUTPUT.cpp ENGINE_FILE SHEET_TEMPLATE PALETTES
//
// Every skin is the sheet template with the "@key@" placeholders filled from
// one palette line ("number name colour..."; the keys are named by the
// "# number name key..." comment line above). A malformed palette or a
// placeholder without a colour stops the build.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/byte_set_literal.h"

namespace {

struct Skin {
    int number;
    std::string file;
};

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsColour(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return false;
    for (size_t i = 1; i < 7; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The sheet with every "@key@" replaced; an unknown key is an error.
std::optional<std::string> Fill(const std::string& sheet, const std::vector<std::string>& keys,
                                const std::vector<std::string>& colours, std::string* error) {
    std::string out;
    size_t at = 0;
    while (true) {
        size_t open = sheet.find('@', at);
        if (open == std::string::npos) break;
        size_t close = sheet.find('@', open + 1);
        if (close == std::string::npos) {
            *error = "unterminated placeholder in the sheet";
            return std::nullopt;
        }
        std::string key = sheet.substr(open + 1, close - open - 1);
        size_t index = 0;
        while (index < keys.size() && keys[index] != key) ++index;
        if (index == keys.size()) {
            *error = "the palettes give no colour for @" + key + "@";
            return std::nullopt;
        }
        out.append(sheet, at, open - at).append(colours[index]);
        at = close + 1;
    }
    return out.append(sheet, at, std::string::npos);
}

std::optional<std::vector<Skin>> MakeSkins(const std::string& sheet, const std::string& palettes,
                                           std::string* error) {
    std::vector<std::string> keys;
    std::vector<Skin> skins;
    std::istringstream in(palettes);
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        if (words[0] == "#") {
            // The comment line that names the columns: "# number name key...".
            if (words.size() > 3 && words[1] == "number" && words[2] == "name")
                keys.assign(words.begin() + 3, words.end());
            continue;
        }
        std::string where = "palettes line " + std::to_string(lineNumber) + ": ";
        if (keys.empty() || words.size() != keys.size() + 2) {
            *error =
                where + "expected a number, a name and " + std::to_string(keys.size()) + " colours";
            return std::nullopt;
        }
        if (words[0] != std::to_string(skins.size() + 1)) {
            *error = where + "skins must be numbered 1, 2, 3... in order";
            return std::nullopt;
        }
        std::vector<std::string> colours(words.begin() + 2, words.end());
        for (const std::string& colour : colours)
            if (!IsColour(colour)) {
                *error = where + "\"" + colour + "\" is not a #rrggbb colour";
                return std::nullopt;
            }
        auto filled = Fill(sheet, keys, colours, error);
        if (!filled) return std::nullopt;
        int number = static_cast<int>(skins.size() + 1);
        skins.push_back({number, "VelmoraSkin 1\nname=" + words[1] + "\nnumber=" + words[0] +
                                     "\n\n" + *filled});
    }
    return skins;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: skin_constants OUTPUT.cpp ENGINE_FILE SHEET_TEMPLATE PALETTES\n";
        return 2;
    }
    auto engine = ReadFile(argv[2]);
    auto sheet = ReadFile(argv[3]);
    auto palettes = ReadFile(argv[4]);
    if (!engine || !sheet || !palettes) {
        std::cerr << "skin_constants: cannot read an input file\n";
        return 1;
    }
    std::string error;
    auto skins = MakeSkins(*sheet, *palettes, &error);
    if (!skins) {
        std::cerr << "skin_constants: " << error << "\n";
        return 1;
    }

    std::ostringstream out;
    out << "// Generated by tools/skin_constants from the skin engine's file, the skin\n"
           "// sheet and the palettes. Do not edit.\n"
           "#include \"app/image/skin_images.h\"\n"
           "#include \"runtime/constants.h\"\n\n"
           "namespace velmora::app {\nnamespace {\n\n";
    velmora::tools::WriteByteSetBlock(out, "kEngineFile", *engine);
    for (const Skin& skin : *skins)
        velmora::tools::WriteByteSetBlock(out, "kSkin" + std::to_string(skin.number), skin.file);
    out << "const char* const kSkins[] = {";
    for (const Skin& skin : *skins) out << (skin.number > 1 ? ", " : "") << "kSkin" << skin.number;
    out << "};\nstatic_assert(sizeof kSkins / sizeof kSkins[0] == kSkinCount);\n\n"
           "}  // namespace\n\n"
           "const void* SkinEngineImage() { return kEngineFile; }\n\n"
           "const void* SkinImage(int number) {\n"
           "    return number >= 1 && number <= kSkinCount ? kSkins[number - 1] : nullptr;\n"
           "}\n\n"
           "}  // namespace velmora::app\n";

    std::ofstream file(argv[1], std::ios::binary);
    file << out.str();
    if (!file.flush()) {
        std::cerr << "skin_constants: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
