#include "controls/group_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, GroupBoxData& d) {
    d.option9 = in.Word("group box option");
    d.textColour = in.Word("text colour");
    d.background = in.Word("background colour");
    d.font = ReadFont(in);
    d.caption = in.CountedText("caption");
}

void Write(StreamWriter& out, const GroupBoxData& d) {
    out.Word(d.option9);
    out.Word(d.textColour);
    out.Word(d.background);
    WriteFont(out, d.font);
    out.CountedText(d.caption);
}

}  // namespace

std::optional<GroupBoxData> ReadGroupBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<GroupBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteGroupBoxData(const GroupBoxData& data) {
    return WriteStoredData<GroupBoxData>(data, Write);
}

}  // namespace velmora::controls
