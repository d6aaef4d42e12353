// Stored property data of ComboBox (layout version 3).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/font_data.h"

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
};

std::optional<ComboBoxData> ReadComboBoxData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteComboBoxData(const ComboBoxData& data);

}  // namespace velmora::controls
