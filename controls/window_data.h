// Stored property data of the window type (layout version 6).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora::controls {

struct WindowData {
    static constexpr uint32_t kVersion = 6;
    uint32_t version = kVersion;
    uint32_t border = 2;  // 0 none, 1 sizable, 2 fixed single, 3-6 tool and client-edge forms
    uint32_t displayOption = 1;
    uint32_t background = 0xFF000000;  // system default colour
    uint32_t maximiseButton = 0;
    uint32_t minimiseButton = 0;
    uint32_t controlBox = 1;
    uint32_t position = 1;  // 0 as stored, 1 centred, 2 minimised, 3 maximised
    uint32_t movable = 1;
    std::array<uint32_t, 5> furtherOptions{0, 0, 1, 0, 0};
    uint32_t optionV2 = 1;
    std::array<uint32_t, 2> optionsV3{0, 0};
    uint32_t alwaysOnTop = 0;  // from version 4
    uint32_t optionV5 = 0;
    std::string className;  // from version 6
    std::vector<uint8_t> picture;
    std::vector<uint8_t> icon;
    std::vector<uint8_t> music;
    std::string caption;  // GBK
    std::string furtherText;

    bool operator==(const WindowData&) const = default;
};

std::optional<WindowData> ReadWindowData(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteWindowData(const WindowData& data);

}  // namespace velmora::controls
