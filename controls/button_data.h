// Stored property data of Button (layout version 1).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct ButtonData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t option9 = 0;
    uint32_t option11 = 1;
    uint32_t option12 = 1;
    std::vector<uint8_t> picture;
    std::optional<FontData> font;
    std::string caption;  // GBK

    bool operator==(const ButtonData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.option9, "button option");
        io(d.option11, "button option");
        io(d.option12, "button option");
        io(d.picture, "picture");
        io(d.font, "font");
        io(d.caption, "caption");
    }
};

}  // namespace velmora::controls
