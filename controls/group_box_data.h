// Stored property data of GroupBox (layout version 1).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct GroupBoxData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t option9 = 0;
    uint32_t textColour = 0x000000;
    uint32_t background = 0xFF000000;
    std::optional<FontData> font;
    std::string caption;  // GBK

    bool operator==(const GroupBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.option9, "group box option");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.font, "font");
        io(d.caption, "caption");
    }
};

}  // namespace velmora::controls
