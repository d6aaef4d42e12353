#include "app/keyword_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/batch_system.h"
#include "runtime/gbk.h"

namespace velmora::app {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The whole stream; nullopt when a read fails, as on a folder or a broken disk.
std::optional<std::string> ReadAll(std::FILE* file) {
    std::string bytes;
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    if (std::ferror(file)) return std::nullopt;
    return bytes;
}

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
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : OpenForReading(path);
    std::optional<std::string> bytes = file ? ReadAll(file) : std::nullopt;
    const int cause = errno;
    if (file && !standardInput) std::fclose(file);
    if (!bytes)
        *error =
            (standardInput ? std::string("cannot read standard input") : "cannot read " + path) +
            ": " + std::strerror(cause);
    return bytes;
}

}  // namespace velmora::app
