#include "controls/icon_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>
#include <map>
#include <utility>

namespace velmora::controls {
namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;

// The colour depth the file's directory gives for image `index`; 0 when the
// directory does not reach it.
int DepthOf(std::span<const uint8_t> file, int index) {
    size_t at = kHeaderSize + kEntrySize * size_t(index) + 6;
    if (at + 2 > file.size()) return 0;
    return file[at] | file[at + 1] << 8;
}

}  // namespace

QIcon IconFromFile(std::span<const uint8_t> file) {
    if (file.empty()) return QIcon();
    QByteArray bytes(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    // Per size, the deepest image and its depth.
    std::map<std::pair<int, int>, std::pair<int, QImage>> best;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i)) break;
        QImage image = reader.read();
        if (image.isNull()) continue;
        auto& slot = best[{image.width(), image.height()}];
        int depth = DepthOf(file, i);
        if (slot.second.isNull() || depth > slot.first) slot = {depth, std::move(image)};
    }
    QIcon icon;
    for (const auto& [size, image] : best) icon.addPixmap(QPixmap::fromImage(image.second));
    return icon;
}

}  // namespace velmora::controls
