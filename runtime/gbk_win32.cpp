// The code page 936 conversions through the Win32 tables. Which bytes start a
// character is decided here, not by the table, so that a text splits the same
// way on every system (code page 936 would read a lone 0x80 as the euro sign).
#include <windows.h>

#include "runtime/gbk.h"
#include "runtime/gbk_bytes.h"
#include "runtime/wide_text.h"

namespace velmora {
namespace {

constexpr UINT kCodePage = 936;
constexpr UINT kGb18030 = 54936;

bool IsLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
bool IsTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// Single bytes below 0x80 and lead-trail pairs only.
bool WholeCharacters(std::string_view gbk) {
    for (size_t i = 0; i < gbk.size(); ++i) {
        auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) continue;
        if (!IsLead(b) || i + 1 == gbk.size() || !IsTrail(static_cast<unsigned char>(gbk[i + 1])))
            return false;
        ++i;
    }
    return true;
}

// nullopt when a character has no Unicode form in that code page.
std::optional<std::u16string> Decode(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return std::u16string();
    const int count = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), count, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::u16string out(static_cast<size_t>(size), u'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), count,
                        reinterpret_cast<wchar_t*>(out.data()), size);
    return out;
}

std::optional<std::u16string> DecodeRun(std::string_view gbk) {
    return Decode(kCodePage, gbk);
}

// nullopt when a character has no GBK form; no look-alike stands in for it.
std::optional<std::string> EncodeRun(std::u16string_view utf16) {
    if (utf16.empty()) return std::string();
    const auto* units = reinterpret_cast<const wchar_t*>(utf16.data());
    const int count = static_cast<int>(utf16.size());
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0,
                                   nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, units, count, out.data(), size, nullptr,
                        &usedDefault);
    return out;
}

using ByteReplacement = char16_t (*)(unsigned char byte);
using UnitReplacement = std::string (*)(char16_t unit);

// Strict without a replacement; with one, each byte that starts no character
// becomes what the replacement makes of it.
std::optional<std::u16string> Decode(std::string_view gbk, ByteReplacement replace) {
    if (WholeCharacters(gbk))
        if (std::optional<std::u16string> whole = DecodeRun(gbk)) return whole;
    if (!replace) return std::nullopt;
    std::u16string out;
    out.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size();) {
        auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        }
        std::optional<std::u16string> pair;
        if (IsLead(b) && i + 1 < gbk.size() && IsTrail(static_cast<unsigned char>(gbk[i + 1])))
            pair = DecodeRun(gbk.substr(i, 2));
        if (pair) {
            out += *pair;
            i += 2;
        } else {
            out += replace(b);
            ++i;
        }
    }
    return out;
}

// Strict without a replacement; with one, each UTF-16 unit without a GBK form
// becomes what the replacement makes of it.
std::optional<std::string> Encode(std::u16string_view utf16, UnitReplacement replace) {
    if (std::optional<std::string> whole = EncodeRun(utf16)) return whole;
    if (!replace) return std::nullopt;
    std::string out;
    out.reserve(utf16.size() * 2);
    for (char16_t unit : utf16) {
        std::optional<std::string> one = EncodeRun({&unit, 1});
        out += one ? *one : replace(unit);
    }
    return out;
}

char16_t Question(unsigned char) {
    return u'?';
}
std::string UnescapeOrQuestion(char16_t unit) {
    std::optional<char> byte = UnescapedByte(unit);
    return byte ? std::string(1, *byte) : "?";
}

// GB18030: one byte below 0x80, a lead and a trail, or four bytes
// alternating a lead and a digit. How many bytes the character at the front
// would take, by its shape alone.
size_t Gb18030Length(std::string_view text) {
    auto in = [&](size_t i, unsigned char low, unsigned char high) {
        return i < text.size() && static_cast<unsigned char>(text[i]) >= low &&
               static_cast<unsigned char>(text[i]) <= high;
    };
    if (!in(0, 0x81, 0xFE)) return 1;
    if (in(1, 0x30, 0x39)) return in(2, 0x81, 0xFE) && in(3, 0x30, 0x39) ? 4 : 1;
    return in(1, 0x40, 0xFE) && !in(1, 0x7F, 0x7F) ? 2 : 1;
}

std::optional<std::u16string> DecodeGb18030(std::string_view text) {
    return Decode(kGb18030, text);
}

}  // namespace

std::optional<std::string> Utf8ToGb18030(std::string_view utf8) {
    std::optional<std::u16string> utf16 = Utf8ToUtf16(utf8);
    if (!utf16) return std::nullopt;
    if (utf16->empty()) return std::string();
    const auto* units = reinterpret_cast<const wchar_t*>(utf16->data());
    const int count = static_cast<int>(utf16->size());
    int size = WideCharToMultiByte(kGb18030, WC_ERR_INVALID_CHARS, units, count, nullptr, 0,
                                   nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kGb18030, WC_ERR_INVALID_CHARS, units, count, out.data(), size, nullptr,
                        nullptr);
    return out;
}

// As the iconv side does: a byte that starts no character becomes U+FFFD
// and the next byte is tried afresh; GBK's single byte 0x80 is its euro sign.
std::string Gb18030ToUtf8(std::string_view gb18030) {
    std::optional<std::u16string> whole = DecodeGb18030(gb18030);
    if (!whole) {
        whole.emplace();
        for (size_t i = 0; i < gb18030.size();) {
            const size_t length = Gb18030Length(gb18030.substr(i));
            std::optional<std::u16string> one;
            if (length > 1 || static_cast<unsigned char>(gb18030[i]) < 0x80)
                one = DecodeGb18030(gb18030.substr(i, length));
            if (one) {
                *whole += *one;
                i += length;
            } else {
                *whole += gb18030[i] == '\x80' ? u'\u20AC' : u'\uFFFD';
                ++i;
            }
        }
    }
    return Utf16ToUtf8(*whole).value_or(std::string());
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
    std::optional<std::u16string> utf16 = Decode(gbk, nullptr);
    if (!utf16) return std::nullopt;
    return Utf16ToUtf8(*utf16);
}
std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    std::optional<std::u16string> utf16 = Utf8ToUtf16(utf8);
    if (!utf16) return std::nullopt;
    return Encode(*utf16, nullptr);
}
std::optional<std::u16string> GbkToUtf16(std::string_view gbk) {
    return Decode(gbk, nullptr);
}
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) {
    return Encode(utf16, nullptr);
}

std::string GbkToUtf8Lossy(std::string_view gbk) {
    return Utf16ToUtf8(Decode(gbk, Question).value_or(std::u16string())).value_or(std::string());
}
std::u16string GbkToUtf16KeepingBytes(std::string_view gbk) {
    return Decode(gbk, EscapedByte).value_or(std::u16string());
}
std::string Utf16ToGbkKeepingBytes(std::u16string_view utf16) {
    return Encode(utf16, UnescapeOrQuestion).value_or(std::string());
}

}  // namespace velmora
