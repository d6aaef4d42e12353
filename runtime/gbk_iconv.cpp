// The code page 936 conversions through glibc's iconv.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "runtime/gbk.h"
#include "runtime/gbk_bytes.h"

namespace velmora {
namespace {

using Replacement = std::string (*)(std::string_view unit);

// One converter per direction and thread; iconv_open is far dearer than a call.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts bytes; an input unit it cannot take fails the whole text when
    // `replace` is null, else is replaced by what `replace` makes of it.
    std::optional<std::string> Run(std::string_view in, size_t inUnit, Replacement replace) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            size_t dstLeft = out.size() - used;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
            } else if (!replace) {
                return std::nullopt;
            } else {
                // EILSEQ or a truncated sequence at the end: replace one unit.
                size_t skip = srcLeft < inUnit ? srcLeft : inUnit;
                std::string replacement = replace({src, skip});
                src += skip;
                srcLeft -= skip;
                out.resize(std::max(out.size(), used + replacement.size() + 16));
                std::memcpy(out.data() + used, replacement.data(), replacement.size());
                used += replacement.size();
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        out.resize(used);
        return out;
    }

  private:
    iconv_t cd_;
};

Converter& FromGbkToUtf8() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}
Converter& FromUtf8ToGbk() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}
Converter& FromUtf8ToGb18030() {
    thread_local Converter c("GB18030", "UTF-8");
    return c;
}
Converter& FromGb18030ToUtf8() {
    thread_local Converter c("UTF-8", "GB18030");
    return c;
}
Converter& FromGbkToUtf16() {
    thread_local Converter c("UTF-16LE", "GBK");
    return c;
}
Converter& FromUtf16ToGbk() {
    thread_local Converter c("GBK", "UTF-16LE");
    return c;
}

std::u16string ToU16(const std::string& bytes) {
    std::u16string s(bytes.size() / 2, u'\0');
    std::memcpy(s.data(), bytes.data(), s.size() * 2);
    return s;
}
std::string_view AsBytes(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * 2};
}

std::string Question(std::string_view) {
    return "?";
}

std::string EscapeByte(std::string_view unit) {
    char16_t c = EscapedByte(static_cast<unsigned char>(unit[0]));
    return {reinterpret_cast<const char*>(&c), 2};
}
// GBK's one single byte above 0x7F, the euro sign, is no GB18030 byte; any
// other byte GB18030 cannot read is U+FFFD.
std::string EuroOrReplacement(std::string_view unit) {
    return unit == "\x80" ? "\xE2\x82\xAC" : "\xEF\xBF\xBD";
}

std::string UnescapeByte(std::string_view unit) {
    char16_t c = 0;
    if (unit.size() == 2) std::memcpy(&c, unit.data(), 2);
    std::optional<char> byte = UnescapedByte(c);
    return byte ? std::string(1, *byte) : "?";
}

}  // namespace

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
    return FromGbkToUtf8().Run(gbk, 1, nullptr);
}
std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    return FromUtf8ToGbk().Run(utf8, 1, nullptr);
}
std::optional<std::u16string> GbkToUtf16(std::string_view gbk) {
    auto bytes = FromGbkToUtf16().Run(gbk, 1, nullptr);
    if (!bytes) return std::nullopt;
    return ToU16(*bytes);
}
std::optional<std::string> Utf16ToGbk(std::u16string_view utf16) {
    return FromUtf16ToGbk().Run(AsBytes(utf16), 2, nullptr);
}

std::string GbkToUtf8Lossy(std::string_view gbk) {
    return FromGbkToUtf8().Run(gbk, 1, Question).value_or(std::string());
}
std::u16string GbkToUtf16KeepingBytes(std::string_view gbk) {
    return ToU16(FromGbkToUtf16().Run(gbk, 1, EscapeByte).value_or(std::string()));
}
std::string Utf16ToGbkKeepingBytes(std::u16string_view utf16) {
    return FromUtf16ToGbk().Run(AsBytes(utf16), 2, UnescapeByte).value_or(std::string());
}

std::optional<std::string> Utf8ToGb18030(std::string_view utf8) {
    return FromUtf8ToGb18030().Run(utf8, 1, nullptr);
}
std::string Gb18030ToUtf8(std::string_view gb18030) {
    return FromGb18030ToUtf8().Run(gb18030, 1, EuroOrReplacement).value_or(std::string());
}

}  // namespace velmora
