// Stored property data of Label (layout version 2): the options 9-14, text
// and background colour, font, picture and caption.
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct LabelData {
    static constexpr uint32_t kVersion = 2;
    uint32_t version = kVersion;
    std::array<uint32_t, 6> options{};  // properties 9-14
    uint32_t textColour = 0x000000;
    uint32_t background = 0xFF000000;
    std::optional<FontData> font;
    std::vector<uint8_t> picture;
    std::string caption;  // GBK

    bool operator==(const LabelData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.options, "label option");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.font, "font");
        io(d.picture, "picture");
        io(d.caption, "caption");
    }
};

}  // namespace velmora::controls
