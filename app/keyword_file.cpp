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
    return Utf8ToUtf16(bytes).has_value();
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
