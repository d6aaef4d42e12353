#include "controls/hyper_linker_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, HyperLinkerData& d) {
    d.linkKind = in.Word("linkKind");
    d.colour = in.Word("colour");
    d.hoverColour = in.Word("hoverColour");
    d.visitedColour = in.Word("visitedColour");
    d.background = in.Word("background");
    d.option16 = in.Word("option16");
    d.font = ReadFont(in);
    d.caption = in.CountedText("caption");
    d.email = in.CountedText("email");
    d.web = in.CountedText("web");
}

void Write(StreamWriter& out, const HyperLinkerData& d) {
    out.Word(d.linkKind);
    out.Word(d.colour);
    out.Word(d.hoverColour);
    out.Word(d.visitedColour);
    out.Word(d.background);
    out.Word(d.option16);
    WriteFont(out, d.font);
    out.CountedText(d.caption);
    out.CountedText(d.email);
    out.CountedText(d.web);
}

}  // namespace

std::optional<HyperLinkerData> ReadHyperLinkerData(std::span<const uint8_t> bytes) {
    return ReadStoredData<HyperLinkerData>(bytes, Read);
}

std::vector<uint8_t> WriteHyperLinkerData(const HyperLinkerData& data) {
    return WriteStoredData<HyperLinkerData>(data, Write);
}

}  // namespace velmora::controls
