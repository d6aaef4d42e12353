// Stored property data of Button (layout version 1).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/font_data.h"

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
};

std::optional<ButtonData> ReadButtonData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteButtonData(const ButtonData& data);

}  // namespace velmora::controls
