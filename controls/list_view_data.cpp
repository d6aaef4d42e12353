#include "controls/list_view_data.h"

#include <cstring>

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

// The trailing blocks carry a signed length; zero or less is an empty block.
std::span<const uint8_t> SignedBlock(StreamReader& in, const char* what) {
    int32_t length = in.SignedWord(what);
    if (length <= 0) return {};
    return in.Bytes(static_cast<size_t>(length), what);
}

std::vector<uint8_t> Block(StreamReader& in, const char* what) {
    auto bytes = SignedBlock(in, what);
    return {bytes.begin(), bytes.end()};
}

void Read(StreamReader& in, ListViewData& d) {
    d.appearance = in.Word("appearance");
    d.textColour = in.Word("text colour");
    d.textBackground = in.Word("text background colour");
    d.background = in.Word("background colour");
    d.viewMode = in.Word("view mode");
    for (uint32_t* field :
         {&d.alignLeft, &d.iconStyle, &d.wrapLabels, &d.headerStyle1, &d.headerStyle2,
          &d.fullRowSelect, &d.gridLines, &d.headerDragDrop, &d.hotTracking, &d.handCursor,
          &d.underlineHot, &d.underlineCold, &d.styleSwitch, &d.sortOrder, &d.checkBoxes,
          &d.flatScrollBars, &d.singleSelection})
        *field = in.Word("list switch");
    d.selectedRow = in.SignedWord("selected row");
    d.alwaysShowSelection = in.Word("always show the selection");
    // The font goes through the shared reader, which expects its own length.
    StreamWriter font;
    font.CountedBlock(SignedBlock(in, "font"));
    StreamReader fontIn(font.Data());
    d.font = ReadFont(fontIn);
    d.headerImages = Block(in, "header images");
    d.itemImages = Block(in, "item images");
    d.columns = Block(in, "column list");
    d.stateImages = Block(in, "state images");
    d.initialRows = Block(in, "initial rows");
}

void Write(StreamWriter& out, const ListViewData& d) {
    out.Word(d.appearance);
    out.Word(d.textColour);
    out.Word(d.textBackground);
    out.Word(d.background);
    out.Word(d.viewMode);
    for (uint32_t field : {d.alignLeft, d.iconStyle, d.wrapLabels, d.headerStyle1, d.headerStyle2,
                           d.fullRowSelect, d.gridLines, d.headerDragDrop, d.hotTracking,
                           d.handCursor, d.underlineHot, d.underlineCold, d.styleSwitch,
                           d.sortOrder, d.checkBoxes, d.flatScrollBars, d.singleSelection})
        out.Word(field);
    out.SignedWord(d.selectedRow);
    out.Word(d.alwaysShowSelection);
    WriteFont(out, d.font);
    for (const auto* block :
         {&d.headerImages, &d.itemImages, &d.columns, &d.stateImages, &d.initialRows})
        out.CountedBlock(*block);
}

}  // namespace

std::optional<ListViewData> ReadListViewData(std::span<const uint8_t> bytes) {
    return ReadStoredData<ListViewData>(bytes, Read);
}

std::vector<uint8_t> WriteListViewData(const ListViewData& data) {
    return WriteStoredData<ListViewData>(data, Write);
}

std::optional<std::vector<ListColumn>> ReadColumns(std::span<const uint8_t> bytes) {
    std::vector<ListColumn> columns;
    try {
        StreamReader in(bytes);
        while (!in.AtEnd()) {
            ListColumn c;
            c.imageOnRight = in.Bytes(1, "image side")[0];
            c.image = in.SignedWord("header image");
            c.alignment = in.SignedWord("alignment");
            c.width = in.SignedWord("width");
            c.caption = in.ZeroText("caption");
            columns.push_back(std::move(c));
        }
    } catch (const StreamError&) {
        return std::nullopt;
    }
    return columns;
}

std::vector<uint8_t> WriteColumns(const std::vector<ListColumn>& columns) {
    StreamWriter out;
    for (const ListColumn& c : columns) {
        const uint8_t side = c.imageOnRight;
        out.Bytes({&side, 1});
        out.SignedWord(c.image);
        out.SignedWord(c.alignment);
        out.SignedWord(c.width);
        out.ZeroText(c.caption);
    }
    return out.Take();
}

}  // namespace velmora::controls
