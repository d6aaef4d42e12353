#include "app/gbk_text.h"

#include "runtime/gbk.h"

namespace velmora::app {
namespace {

// The length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

bool WellFormed(std::string_view sequence) {
    for (size_t i = 1; i < sequence.size(); ++i)
        if ((static_cast<unsigned char>(sequence[i]) & 0xC0) != 0x80) return false;
    return sequence.size() > 1;
}

uint32_t CodePoint(std::string_view sequence) {
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t point = static_cast<unsigned char>(sequence[0]) & kLeadMask[sequence.size()];
    for (size_t i = 1; i < sequence.size(); ++i)
        point = (point << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    return point;
}

}  // namespace

std::string Utf8ToGbkWithReferences(std::string_view utf8) {
    if (auto whole = Utf8ToGbk(utf8)) return *whole;
    std::string gbk;
    for (size_t at = 0; at < utf8.size();) {
        size_t length = std::min(SequenceLength(utf8[at]), utf8.size() - at);
        std::string_view sequence = utf8.substr(at, length);
        if (auto one = Utf8ToGbk(sequence)) {
            gbk += *one;
        } else if (!WellFormed(sequence)) {
            gbk += "&#65533;";  // a byte that starts no character
            length = 1;
        } else {
            gbk += "&#" + std::to_string(CodePoint(sequence)) + ";";
        }
        at += length;
    }
    return gbk;
}

Text GbkText(std::string_view utf8) {
    return Concat({Utf8ToGbkWithReferences(utf8).c_str()});
}

}  // namespace velmora::app
