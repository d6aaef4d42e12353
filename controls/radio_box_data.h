// Stored property data of RadioBox (layout version 1).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct RadioBoxData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t checked = 0;              // 9
    uint32_t option10 = 0;             // 10
    uint32_t option12 = 0;             // 12
    uint32_t option13 = 0;             // 13
    uint32_t option14 = 0;             // 14
    uint32_t textColour = 0x000000;    // 15
    uint32_t background = 0xFF000000;  // 16
    uint32_t option18 = 0;             // 18
    std::vector<uint8_t> picture;      // 8
    std::optional<FontData> font;      // 17
    std::string caption;               // 11, GBK

    bool operator==(const RadioBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.checked, "checked");
        for (auto* option : {&d.option10, &d.option12, &d.option13, &d.option14})
            io(*option, "radio option");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.option18, "radio option");
        io(d.picture, "picture");
        io(d.font, "font");
        io(d.caption, "caption");
    }
};

}  // namespace velmora::controls
