#include "controls/html_viewer_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, HtmlViewerData& d) {
    d.textSize = in.SignedWord("text size");
    d.offline = in.Word("offline");
    d.silent = in.Word("silent");
    d.address = in.CountedText("address");
    if (d.version >= 2) d.keepsLogin = in.Word("keeps login");
}

void Write(StreamWriter& out, const HtmlViewerData& d) {
    out.SignedWord(d.textSize);
    out.Word(d.offline);
    out.Word(d.silent);
    out.CountedText(d.address);
    if (d.version >= 2) out.Word(d.keepsLogin);
}

}  // namespace

std::optional<HtmlViewerData> ReadHtmlViewerData(std::span<const uint8_t> bytes) {
    return ReadStoredData<HtmlViewerData>(bytes, Read);
}

std::vector<uint8_t> WriteHtmlViewerData(const HtmlViewerData& data) {
    return WriteStoredData<HtmlViewerData>(data, Write);
}

}  // namespace velmora::controls
