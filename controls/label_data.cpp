#include "controls/label_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, LabelData& d) {
    for (uint32_t& w : d.options) w = in.Word("label option");
    d.textColour = in.Word("text colour");
    d.background = in.Word("background colour");
    d.font = ReadFont(in);
    d.picture = in.CountedBlock("picture");
    d.caption = in.CountedText("caption");
}

void Write(StreamWriter& out, const LabelData& d) {
    for (uint32_t w : d.options) out.Word(w);
    out.Word(d.textColour);
    out.Word(d.background);
    WriteFont(out, d.font);
    out.CountedBlock(d.picture);
    out.CountedText(d.caption);
}

}  // namespace

std::optional<LabelData> ReadLabelData(std::span<const uint8_t> bytes) {
    return ReadStoredData<LabelData>(bytes, Read);
}

std::vector<uint8_t> WriteLabelData(const LabelData& data) {
    return WriteStoredData<LabelData>(data, Write);
}

}  // namespace velmora::controls
