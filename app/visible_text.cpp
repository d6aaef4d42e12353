#include "app/visible_text.h"

namespace velmora::app {

std::string VisibleText(std::string_view text, TextEncoding encoding) {
    constexpr char kMark = '?';
    std::string visible;
    visible.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
            visible += kMark;
        } else if (encoding == TextEncoding::kUtf8 && byte == 0xc2 && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xe0) == 0x80) {
            // C2 80..C2 9F: an eight-bit control such as CSI (U+009B).
            visible += kMark;
            ++i;
        } else {
            visible += text[i];
        }
    }
    return visible;
}

}  // namespace velmora::app
