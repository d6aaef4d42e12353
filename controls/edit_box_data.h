// Stored property data of EditBox (layout version 2; version 1 lacks the two
// data-binding texts).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct EditBoxData {
    static constexpr uint32_t kVersion = 2;
    uint32_t version = kVersion;
    uint32_t border = 1;  // 0 none, 1 sunken, 2 raised, 3 shallow sunken, 4 both, 5 one-pixel line
    uint32_t textColour = 0x000000;
    uint32_t background = 0xFFFFFF;
    uint32_t hideSelection = 1;
    int32_t maxLength = 0;  // 0 or negative: no limit
    uint32_t multiLine = 0;
    uint32_t scrollBars = 0;  // 0 none, 1 horizontal, 2 vertical, 3 both
    uint32_t alignment = 0;
    uint32_t inputMode = 0;  // 0 normal, 1 read-only, 2 password, 3-10 character filters
    uint16_t passwordChar = '*';
    uint32_t letterCase = 0;
    uint32_t adjuster = 0;
    int32_t adjusterLow = 0;
    int32_t adjusterHigh = 100;
    int32_t selectionStart = 0;
    int32_t selectionLength = 0;
    std::optional<FontData> font;
    std::string content;  // GBK
    std::string binding1;
    std::string binding2;

    bool operator==(const EditBoxData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.border, "border");
        io(d.textColour, "text colour");
        io(d.background, "background colour");
        io(d.hideSelection, "hide selection");
        io(d.maxLength, "maximum length");
        io(d.multiLine, "multi-line");
        io(d.scrollBars, "scroll bars");
        io(d.alignment, "alignment");
        io(d.inputMode, "input mode");
        io(d.passwordChar, "password character");
        io(d.letterCase, "letter case");
        io(d.adjuster, "adjuster");
        io(d.adjusterLow, "adjuster lower bound");
        io(d.adjusterHigh, "adjuster upper bound");
        io(d.selectionStart, "selection start");
        io(d.selectionLength, "selection length");
        io(d.font, "font");
        io(d.content, "content");
        if (d.version < 2) return;
        io(d.binding1, "data binding");
        io(d.binding2, "data binding");
    }
};

}  // namespace velmora::controls
