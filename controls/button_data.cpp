#include "controls/button_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, ButtonData& d) {
    d.option9 = in.Word("button option");
    d.option11 = in.Word("button option");
    d.option12 = in.Word("button option");
    d.picture = in.CountedBlock("picture");
    d.font = ReadFont(in);
    d.caption = in.CountedText("caption");
}

void Write(StreamWriter& out, const ButtonData& d) {
    out.Word(d.option9);
    out.Word(d.option11);
    out.Word(d.option12);
    out.CountedBlock(d.picture);
    WriteFont(out, d.font);
    out.CountedText(d.caption);
}

}  // namespace

std::optional<ButtonData> ReadButtonData(std::span<const uint8_t> bytes) {
    return ReadStoredData<ButtonData>(bytes, Read);
}

std::vector<uint8_t> WriteButtonData(const ButtonData& data) {
    return WriteStoredData<ButtonData>(data, Write);
}

}  // namespace velmora::controls
