#include "controls/tab_data.h"

#include <stdexcept>

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, TabData& d) {
    d.position = in.Word("tab position");
    d.multiRow = in.Word("several rows");
    d.option = in.Word("tab option");
    if (d.version >= 2) d.noStrip = in.Word("no tab strip");
    if (d.version >= 3) {
        d.transparent = in.Word("transparent");
        d.colour = in.Word("colour");
    }
    d.font = ReadFont(in);
    uint16_t count = in.HalfWord("page count");
    in.ExpectItems(count, 4, "page captions");
    for (uint16_t i = 0; i < count; ++i) d.pages.push_back(in.CountedText("page caption"));
}

void Write(StreamWriter& out, const TabData& d) {
    if (d.pages.size() > 0xFFFF) throw std::invalid_argument("a Tab holds at most 65535 pages");
    out.Word(d.position);
    out.Word(d.multiRow);
    out.Word(d.option);
    if (d.version >= 2) out.Word(d.noStrip);
    if (d.version >= 3) {
        out.Word(d.transparent);
        out.Word(d.colour);
    }
    WriteFont(out, d.font);
    out.HalfWord(static_cast<uint16_t>(d.pages.size()));
    for (const std::string& page : d.pages) out.CountedText(page);
}

}  // namespace

std::optional<TabData> ReadTabData(std::span<const uint8_t> bytes) {
    return ReadStoredData<TabData>(bytes, Read);
}

std::vector<uint8_t> WriteTabData(const TabData& data) {
    return WriteStoredData<TabData>(data, Write);
}

}  // namespace velmora::controls
