// Stored property data of ListBox (layout version 3).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct ListBoxData {
    static constexpr uint32_t kVersion = 3;
    uint32_t version = kVersion;
    uint32_t border = 1;              // 8
    uint32_t multiSelect = 0;         // 9: several items selected by clicks
    uint32_t extendedSelect = 0;      // 10: ranges with Shift and Ctrl
    int32_t itemHeight = 0;           // 11
    uint32_t textColour = 0x000000;   // 12
    uint32_t background = 0xFFFFFF;   // 13
    uint32_t option15 = 0;            // 15
    int32_t current = -1;             // 16
    uint32_t sorted = 0;              // 21
    std::optional<FontData> font;     // 14
    std::vector<std::string> items;   // 17, GBK
    std::vector<int32_t> itemValues;  // 18
    std::string binding1;             // 19
    std::string binding2;             // 20

    bool operator==(const ListBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.border, "border");
        io(d.multiSelect, "several selected");
        io(d.extendedSelect, "extended selection");
        io(d.itemHeight, "item height");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.option15, "list option");
        io(d.current, "current item");
        io(d.sorted, "sorted");
        io(d.font, "font");
        io(d.items, "items");
        io(d.itemValues, "item values");
        io(d.binding1, "data binding");
        io(d.binding2, "data binding");
    }
};

}  // namespace velmora::controls
