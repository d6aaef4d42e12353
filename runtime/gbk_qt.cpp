#include "runtime/gbk_qt.h"

#include "runtime/gbk.h"

namespace velmora {

QString FromGbk(std::string_view gbk) {
    std::u16string utf16 = GbkToUtf16KeepingBytes(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string ToGbk(const QString& text) {
    return Utf16ToGbkKeepingBytes(text.toStdU16String());
}

}  // namespace velmora
