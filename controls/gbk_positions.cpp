#include "controls/gbk_positions.h"

namespace velmora::controls {

int64_t GbkBytes(QStringView text) {
    int64_t bytes = 0;
    for (QChar c : text) bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}

int CharactersBefore(const QString& text, int64_t bytes) {
    int64_t seen = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (seen >= bytes) return i;
        seen += text[i].unicode() < 0x80 ? 1 : 2;
    }
    return static_cast<int>(text.size());
}

int64_t BytesBefore(const QString& text, int characters) {
    return GbkBytes(QStringView(text).left(characters));
}

}  // namespace velmora::controls
