#include "controls/list_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, ListBoxData& d) {
    d.border = in.Word("border");
    d.multiSelect = in.Word("multiSelect");
    d.extendedSelect = in.Word("extendedSelect");
    d.itemHeight = in.SignedWord("itemHeight");
    d.textColour = in.Word("textColour");
    d.background = in.Word("background");
    d.option15 = in.Word("option15");
    d.current = in.SignedWord("current");
    d.sorted = in.Word("sorted");
    d.font = ReadFont(in);
    uint32_t itemsCount = in.Word("items count");
    in.ExpectItems(itemsCount, 4, "items");
    for (uint32_t i = 0; i < itemsCount; ++i) d.items.push_back(in.CountedText("items"));
    uint32_t itemValuesCount = in.Word("itemValues count");
    in.ExpectItems(itemValuesCount, 4, "itemValues");
    for (uint32_t i = 0; i < itemValuesCount; ++i)
        d.itemValues.push_back(in.SignedWord("itemValues"));
    d.binding1 = in.CountedText("binding1");
    d.binding2 = in.CountedText("binding2");
}

void Write(StreamWriter& out, const ListBoxData& d) {
    out.Word(d.border);
    out.Word(d.multiSelect);
    out.Word(d.extendedSelect);
    out.SignedWord(d.itemHeight);
    out.Word(d.textColour);
    out.Word(d.background);
    out.Word(d.option15);
    out.SignedWord(d.current);
    out.Word(d.sorted);
    WriteFont(out, d.font);
    out.Word(static_cast<uint32_t>(d.items.size()));
    for (const std::string& text : d.items) out.CountedText(text);
    out.Word(static_cast<uint32_t>(d.itemValues.size()));
    for (int32_t word : d.itemValues) out.SignedWord(word);
    out.CountedText(d.binding1);
    out.CountedText(d.binding2);
}

}  // namespace

std::optional<ListBoxData> ReadListBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<ListBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteListBoxData(const ListBoxData& data) {
    return WriteStoredData<ListBoxData>(data, Write);
}

}  // namespace velmora::controls
