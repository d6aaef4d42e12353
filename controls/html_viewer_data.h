// Stored property data of HtmlViewer (layout version 1; version 0 is read
// the same way).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora::controls {

struct HtmlViewerData {
    static constexpr uint32_t kVersion = 1;
    uint32_t version = kVersion;
    int32_t textSize = 2;  // 0 smallest .. 4 largest; clamped when applied
    uint32_t offline = 0;
    uint32_t silent = 0;
    std::string address;  // GBK

    bool operator==(const HtmlViewerData&) const = default;
};

std::optional<HtmlViewerData> ReadHtmlViewerData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteHtmlViewerData(const HtmlViewerData& data);

}  // namespace velmora::controls
