// Stored property data of ShapeBox (layout version 1).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct ShapeBoxData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    uint32_t background = 0xFF000000;  // 8
    uint32_t shape = 0;                // 9: 0 rectangle, 1 rounded, 2 ellipse
    uint32_t lineStyle = 0;            // 10: 0 solid, 1 dashed, 2 dotted, 3 none
    uint32_t option11 = 0;             // 11
    int32_t lineWidth = 1;             // 12
    uint32_t lineColour = 0x000000;    // 13
    uint32_t fillColour = 0xFF000000;  // 14

    bool operator==(const ShapeBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.background, "background colour");
        io(d.shape, "shape");
        io(d.lineStyle, "line style");
        io(d.option11, "shape option");
        io(d.lineWidth, "line width");
        io(d.lineColour, "line colour");
        io(d.fillColour, "fill colour");
    }
};

}  // namespace velmora::controls
