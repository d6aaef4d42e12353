#include "controls/edit_box_data.h"

#include "controls/stored_data.h"

namespace velmora::controls {
namespace {

void Read(StreamReader& in, EditBoxData& d) {
    d.border = in.Word("border");
    d.textColour = in.Word("text colour");
    d.background = in.Word("background colour");
    d.hideSelection = in.Word("hide selection");
    d.maxLength = in.SignedWord("maximum length");
    d.multiLine = in.Word("multi-line");
    d.scrollBars = in.Word("scroll bars");
    d.alignment = in.Word("alignment");
    d.inputMode = in.Word("input mode");
    d.passwordChar = in.HalfWord("password character");
    d.letterCase = in.Word("letter case");
    d.adjuster = in.Word("adjuster");
    d.adjusterLow = in.SignedWord("adjuster lower bound");
    d.adjusterHigh = in.SignedWord("adjuster upper bound");
    d.selectionStart = in.SignedWord("selection start");
    d.selectionLength = in.SignedWord("selection length");
    d.font = ReadFont(in);
    d.content = in.CountedText("content");
    if (d.version >= 2) {
        d.binding1 = in.CountedText("data binding");
        d.binding2 = in.CountedText("data binding");
    }
}

void Write(StreamWriter& out, const EditBoxData& d) {
    out.Word(d.border);
    out.Word(d.textColour);
    out.Word(d.background);
    out.Word(d.hideSelection);
    out.SignedWord(d.maxLength);
    out.Word(d.multiLine);
    out.Word(d.scrollBars);
    out.Word(d.alignment);
    out.Word(d.inputMode);
    out.HalfWord(d.passwordChar);
    out.Word(d.letterCase);
    out.Word(d.adjuster);
    out.SignedWord(d.adjusterLow);
    out.SignedWord(d.adjusterHigh);
    out.SignedWord(d.selectionStart);
    out.SignedWord(d.selectionLength);
    WriteFont(out, d.font);
    out.CountedText(d.content);
    if (d.version >= 2) {
        out.CountedText(d.binding1);
        out.CountedText(d.binding2);
    }
}

}  // namespace

std::optional<EditBoxData> ReadEditBoxData(std::span<const uint8_t> bytes) {
    return ReadStoredData<EditBoxData>(bytes, Read);
}

std::vector<uint8_t> WriteEditBoxData(const EditBoxData& data) {
    return WriteStoredData<EditBoxData>(data, Write);
}

}  // namespace velmora::controls
