#include "controls/radio_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, RadioBoxData& d) {
    d.checked = in.Word("checked");
    d.option10 = in.Word("option10");
    d.option12 = in.Word("option12");
    d.option13 = in.Word("option13");
    d.option14 = in.Word("option14");
    d.textColour = in.Word("textColour");
    d.background = in.Word("background");
    d.option18 = in.Word("option18");
    d.picture = in.CountedBlock("picture");
    d.font = ReadFont(in);
    d.caption = in.CountedText("caption");
}

void Write(StreamWriter& out, const RadioBoxData& d) {
    out.Word(d.checked);
    out.Word(d.option10);
    out.Word(d.option12);
    out.Word(d.option13);
    out.Word(d.option14);
    out.Word(d.textColour);
    out.Word(d.background);
    out.Word(d.option18);
    out.CountedBlock(d.picture);
    WriteFont(out, d.font);
    out.CountedText(d.caption);
}

}  // namespace

std::optional<RadioBoxData> ReadRadioBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<RadioBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteRadioBoxData(const RadioBoxData& data) {
    return WriteStoredData<RadioBoxData>(data, Write);
}

}  // namespace velmora::controls
