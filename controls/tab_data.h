// Stored property data of Tab (layout version 3; version 2 adds the
// stripless form, version 3 its transparency and colour).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct TabData {
    static constexpr uint32_t kVersion = 3;
    uint32_t version = kVersion;
    uint32_t position = 0;  // 0 top, 1 bottom, 2 left, 3 right
    uint32_t multiRow = 0;
    uint32_t option = 0;
    uint32_t noStrip = 0;      // from version 2
    uint32_t transparent = 0;  // from version 3; 0: a stripless Tab is see-through
    uint32_t colour = 0xFF000000;
    std::optional<FontData> font;
    std::vector<std::string> pages;  // GBK captions

    bool operator==(const TabData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.position, "tab position");
        io(d.multiRow, "several rows");
        io(d.option, "tab option");
        if (d.version >= 2) io(d.noStrip, "no tab strip");
        if (d.version >= 3) {
            io(d.transparent, "transparent");
            io(d.colour, "colour");
        }
        io(d.font, "font");
        io.HalfCounted(d.pages, "page captions");
    }
};

}  // namespace velmora::controls
