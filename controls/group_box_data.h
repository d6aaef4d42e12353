// Stored property data of GroupBox (layout version 1).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/font_data.h"

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
};

std::optional<GroupBoxData> ReadGroupBoxData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteGroupBoxData(const GroupBoxData& data);

}  // namespace velmora::controls
