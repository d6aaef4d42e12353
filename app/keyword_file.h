// The batch command's keyword file: one keyword a line, UTF-8 or GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

struct KeywordList {
    std::vector<std::string> keywords;  // UTF-8
    bool fromGbk = false;               // the bytes were not UTF-8 but GBK
};

// The lines of the bytes, taken as UTF-8 (a byte-order mark dropped) when
// they are valid UTF-8 and as GBK otherwise; nullopt when they are neither.
// Line ends may be LF or CR LF; spaces and tabs around a keyword go, and
// lines left empty are no keywords.
std::optional<KeywordList> DecodeKeywords(std::string_view bytes);

// The whole file, or standard input for "-"; nullopt with the reason in
// `error` when it cannot be read.
std::optional<std::string> ReadKeywordBytes(const std::string& path, std::string* error);

bool IsValidUtf8(std::string_view bytes);

}  // namespace velmora::app
