// Stored property data of Tab (layout version 3; version 2 adds the
// stripless form, version 3 its transparency and colour).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/font_data.h"

namespace velmora::controls {

struct TabData {
    static constexpr uint32_t kVersion = 3;
    uint32_t version = kVersion;
    uint32_t position = 0;  // 0 top, 1 bottom, 2 left, 3 right
    uint32_t multiRow = 0;
    uint32_t option = 0;
    uint32_t noStrip = 0;      // from version 2
    uint32_t transparent = 0;  // from version 3; 0: a stripless Tab is see-through
    uint32_t colour = 0xFF000000;
    std::optional<FontData> font;
    std::vector<std::string> pages;  // GBK captions

    bool operator==(const TabData&) const = default;
};

std::optional<TabData> ReadTabData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteTabData(const TabData& data);

}  // namespace velmora::controls
