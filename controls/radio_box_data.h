// Stored property data of RadioBox (layout version 1).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/font_data.h"

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
};

std::optional<RadioBoxData> ReadRadioBoxData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteRadioBoxData(const RadioBoxData& data);

}  // namespace velmora::controls
