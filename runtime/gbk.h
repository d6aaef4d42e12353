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
// GB18030 holds every character and its two-byte part is GBK, so a UTF-8
// text (a template, say) can pass through the GBK machinery and come back
// unchanged. Strict one way; the way back also takes GBK's own bytes (its
// euro sign) and makes U+FFFD of a byte it cannot read.
std::optional<std::string> Utf8ToGb18030(std::string_view utf8);
std::string Gb18030ToUtf8(std::string_view gb18030);
// Strict: overlong forms, surrogates, code points past U+10FFFF and cut
// sequences give nullopt.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// For display only: undecodable bytes become '?'.
std::string GbkToUtf8Lossy(std::string_view gbk);
// For texts that go out and come back (widgets, automation strings): a byte
// GBK cannot decode becomes a private-use character (U+F780 to U+F7FF) that
// the way back turns into the same byte, so a text in another encoding
// survives the trip; a character GBK cannot hold comes back as '?'.
std::u16string GbkToUtf16KeepingBytes(std::string_view gbk);
std::string Utf16ToGbkKeepingBytes(std::u16string_view utf16);

}  // namespace velmora
