// Conversions between the runtime's GBK texts and the encodings of the edges:
// UTF-8 (file names, URLs, logs), UTF-16 (Qt, automation strings).
// Strict conversions answer nullopt rather than mangle a text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::u16string> GbkToUtf16(std::string_view gbk);
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16);
// Strict: overlong forms, surrogates, code points past U+10FFFF and cut
// sequences give nullopt.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// For display only: undecodable bytes or characters become '?'.
std::string GbkToUtf8Lossy(std::string_view gbk);
std::u16string GbkToUtf16Lossy(std::string_view gbk);
std::string Utf16ToGbkLossy(std::u16string_view utf16);

}  // namespace velmora
