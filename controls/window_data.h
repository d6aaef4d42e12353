// Stored property data of the window type (layout version 6).
#pragma once

#include "controls/stored_data.h"

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

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.border, "border");
        io(d.displayOption, "display option");
        io(d.background, "background colour");
        io(d.maximiseButton, "maximise button");
        io(d.minimiseButton, "minimise button");
        io(d.controlBox, "control box");
        io(d.position, "position rule");
        io(d.movable, "movable");
        io(d.furtherOptions, "window option");
        if (d.version >= 2) io(d.optionV2, "window option");
        if (d.version >= 3) io(d.optionsV3, "window option");
        if (d.version >= 4) io(d.alwaysOnTop, "always on top");
        if (d.version >= 5) io(d.optionV5, "window option");
        if (d.version >= 6) io(d.className, "window class");
        io(d.picture, "background picture");
        io(d.icon, "icon");
        io(d.music, "background music");
        io(d.caption, "caption");
        io(d.furtherText, "window text");
    }
};

}  // namespace velmora::controls
