// Stored property data of ComboBox (layout version 3).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct ComboBoxData {
    static constexpr uint32_t kVersion = 3;
    uint32_t version = kVersion;
    uint32_t comboType = 1;           // 8: 0 simple, 1 drop-down, 2 drop-down list
    int32_t maxLength = 0;            // 10
    int32_t selectionStart = 0;       // 11
    int32_t selectionLength = 0;      // 12
    uint32_t option14 = 0;            // 14
    int32_t itemHeight = 0;           // 15: extra item height
    uint32_t textColour = 0x000000;   // 16
    uint32_t background = 0xFFFFFF;   // 17
    int32_t current = -1;             // 19
    uint32_t sorted = 0;              // 24, creation only
    std::optional<FontData> font;     // 18
    std::string content;              // 9, GBK
    std::vector<std::string> items;   // 20, GBK
    std::vector<int32_t> itemValues;  // 21
    std::string binding1;             // 22
    std::string binding2;             // 23

    bool operator==(const ComboBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.comboType, "combo type");
        io(d.maxLength, "maximum length");
        io(d.selectionStart, "selection start");
        io(d.selectionLength, "selection length");
        io(d.option14, "combo option");
        io(d.itemHeight, "item height");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.current, "current item");
        io(d.sorted, "sorted");
        io(d.font, "font");
        io(d.content, "content");
        io(d.items, "items");
        io(d.itemValues, "item values");
        io(d.binding1, "data binding");
        io(d.binding2, "data binding");
    }
};

}  // namespace velmora::controls
