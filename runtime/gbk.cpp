// What the GBK conversions share on every system; the code page 936 tables
// themselves are the system's (gbk_iconv.cpp, gbk_win32.cpp).
#include "runtime/gbk.h"

#include "runtime/gbk_bytes.h"

namespace velmora {
namespace {

constexpr char16_t kByteEscapeBase = 0xF700;

}  // namespace

char16_t EscapedByte(unsigned char byte) {
    return static_cast<char16_t>(kByteEscapeBase + byte);
}

std::optional<char> UnescapedByte(char16_t c) {
    if (c < kByteEscapeBase + 0x80 || c > kByteEscapeBase + 0xFF) return std::nullopt;
    return static_cast<char>(c - kByteEscapeBase);
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        auto b = static_cast<unsigned char>(bytes[i]);
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0 || i + extra >= bytes.size()) return std::nullopt;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = c << 6 | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += extra + 1;
    }
    return out;
}

}  // namespace velmora
