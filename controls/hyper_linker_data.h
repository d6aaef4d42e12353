// Stored property data of HyperLinker (layout version 1).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct HyperLinkerData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t linkKind = 1;              // 9: 0 e-mail address, 1 web address
    uint32_t colour = 0xFF0000;         // 12: caption
    uint32_t hoverColour = 0x0000FF;    // 13: caption under the mouse
    uint32_t visitedColour = 0x800080;  // 14: caption once opened
    uint32_t background = 0xFF000000;   // 15
    uint32_t option16 = 0;              // 16
    std::optional<FontData> font;       // 17
    std::string caption;                // 8, GBK
    std::string email;                  // 10
    std::string web;                    // 11

    bool operator==(const HyperLinkerData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.linkKind, "link kind");
        io(d.colour, "colour");
        io(d.hoverColour, "hover colour");
        io(d.visitedColour, "visited colour");
        io(d.background, "background colour");
        io(d.option16, "link option");
        io(d.font, "font");
        io(d.caption, "caption");
        io(d.email, "email");
        io(d.web, "web");
    }
};

}  // namespace velmora::controls
