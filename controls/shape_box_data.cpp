#include "controls/shape_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, ShapeBoxData& d) {
    d.background = in.Word("background");
    d.shape = in.Word("shape");
    d.lineStyle = in.Word("lineStyle");
    d.option11 = in.Word("option11");
    d.lineWidth = in.SignedWord("lineWidth");
    d.lineColour = in.Word("lineColour");
    d.fillColour = in.Word("fillColour");
}

void Write(StreamWriter& out, const ShapeBoxData& d) {
    out.Word(d.background);
    out.Word(d.shape);
    out.Word(d.lineStyle);
    out.Word(d.option11);
    out.SignedWord(d.lineWidth);
    out.Word(d.lineColour);
    out.Word(d.fillColour);
}

}  // namespace

std::optional<ShapeBoxData> ReadShapeBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<ShapeBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteShapeBoxData(const ShapeBoxData& data) {
    return WriteStoredData<ShapeBoxData>(data, Write);
}

}  // namespace velmora::controls
