#include "controls/gbk_positions.h"

namespace velmora::controls {
namespace {

// The euro sign is GBK's one single byte above 0x7F; a byte GBK cannot
// read comes into a box as a private-use character and goes out as that one
// byte again.
int GbkWidth(QChar c) {
    char16_t u = c.unicode();
    return u < 0x80 || u == 0x20AC || (u >= 0xF780 && u <= 0xF7FF) ? 1 : 2;
}

}  // namespace

int64_t GbkBytes(QStringView text) {
    int64_t bytes = 0;
    for (QChar c : text) bytes += GbkWidth(c);
    return bytes;
}

int CharactersBefore(const QString& text, int64_t bytes) {
    int64_t seen = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (seen >= bytes) return i;
        seen += GbkWidth(text[i]);
    }
    return static_cast<int>(text.size());
}

int64_t BytesBefore(const QString& text, int characters) {
    return GbkBytes(QStringView(text).left(characters));
}

}  // namespace velmora::controls
