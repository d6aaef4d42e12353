#include "controls/window_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, WindowData& d) {
    d.border = in.Word("border");
    d.displayOption = in.Word("display option");
    d.background = in.Word("background colour");
    d.maximiseButton = in.Word("maximise button");
    d.minimiseButton = in.Word("minimise button");
    d.controlBox = in.Word("control box");
    d.position = in.Word("position rule");
    d.movable = in.Word("movable");
    for (uint32_t& w : d.furtherOptions) w = in.Word("window option");
    if (d.version >= 2) d.optionV2 = in.Word("window option");
    if (d.version >= 3)
        for (uint32_t& w : d.optionsV3) w = in.Word("window option");
    if (d.version >= 4) d.alwaysOnTop = in.Word("always on top");
    if (d.version >= 5) d.optionV5 = in.Word("window option");
    if (d.version >= 6) d.className = in.CountedText("window class");
    d.picture = in.CountedBlock("background picture");
    d.icon = in.CountedBlock("icon");
    d.music = in.CountedBlock("background music");
    d.caption = in.CountedText("caption");
    d.furtherText = in.CountedText("window text");
}

void Write(StreamWriter& out, const WindowData& d) {
    out.Word(d.border);
    out.Word(d.displayOption);
    out.Word(d.background);
    out.Word(d.maximiseButton);
    out.Word(d.minimiseButton);
    out.Word(d.controlBox);
    out.Word(d.position);
    out.Word(d.movable);
    for (uint32_t w : d.furtherOptions) out.Word(w);
    if (d.version >= 2) out.Word(d.optionV2);
    if (d.version >= 3)
        for (uint32_t w : d.optionsV3) out.Word(w);
    if (d.version >= 4) out.Word(d.alwaysOnTop);
    if (d.version >= 5) out.Word(d.optionV5);
    if (d.version >= 6) out.CountedText(d.className);
    out.CountedBlock(d.picture);
    out.CountedBlock(d.icon);
    out.CountedBlock(d.music);
    out.CountedText(d.caption);
    out.CountedText(d.furtherText);
}

}  // namespace

std::optional<WindowData> ReadWindowData(std::span<const uint8_t> bytes) {
    return ReadStoredData<WindowData>(bytes, Read);
}

std::vector<uint8_t> WriteWindowData(const WindowData& data) {
    return WriteStoredData<WindowData>(data, Write);
}

}  // namespace velmora::controls
