#include "app/keyword_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "runtime/gbk.h"

namespace velmora::app {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past the last plane.
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) ||
            (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

std::optional<KeywordList> DecodeKeywords(std::string_view bytes) {
    KeywordList list;
    std::string text;
    if (IsValidUtf8(bytes)) {
        if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
        text = bytes;
    } else {
        std::optional<std::string> utf8 = GbkToUtf8(bytes);
        if (!utf8) return std::nullopt;
        text = std::move(*utf8);
        list.fromGbk = true;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string_view keyword = Trimmed(line);
        if (!keyword.empty()) list.keywords.emplace_back(keyword);
    }
    return list;
}

std::optional<std::string> ReadKeywordBytes(const std::string& path, std::string* error) {
    if (path == "-") {
        std::ostringstream bytes;
        bytes << std::cin.rdbuf();
        if (std::cin.bad()) {
            *error = "cannot read standard input";
            return std::nullopt;
        }
        return bytes.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace velmora::app
