#include "controls/combo_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, ComboBoxData& d) {
    d.comboType = in.Word("comboType");
    d.maxLength = in.SignedWord("maxLength");
    d.selectionStart = in.SignedWord("selectionStart");
    d.selectionLength = in.SignedWord("selectionLength");
    d.option14 = in.Word("option14");
    d.itemHeight = in.SignedWord("itemHeight");
    d.textColour = in.Word("textColour");
    d.background = in.Word("background");
    d.current = in.SignedWord("current");
    d.sorted = in.Word("sorted");
    d.font = ReadFont(in);
    d.content = in.CountedText("content");
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

void Write(StreamWriter& out, const ComboBoxData& d) {
    out.Word(d.comboType);
    out.SignedWord(d.maxLength);
    out.SignedWord(d.selectionStart);
    out.SignedWord(d.selectionLength);
    out.Word(d.option14);
    out.SignedWord(d.itemHeight);
    out.Word(d.textColour);
    out.Word(d.background);
    out.SignedWord(d.current);
    out.Word(d.sorted);
    WriteFont(out, d.font);
    out.CountedText(d.content);
    out.Word(static_cast<uint32_t>(d.items.size()));
    for (const std::string& text : d.items) out.CountedText(text);
    out.Word(static_cast<uint32_t>(d.itemValues.size()));
    for (int32_t word : d.itemValues) out.SignedWord(word);
    out.CountedText(d.binding1);
    out.CountedText(d.binding2);
}

}  // namespace

std::optional<ComboBoxData> ReadComboBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<ComboBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteComboBoxData(const ComboBoxData& data) {
    return WriteStoredData<ComboBoxData>(data, Write);
}

}  // namespace velmora::controls
