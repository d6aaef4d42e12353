#include "controls/font_data.h"

#include <cstring>

namespace velmora::controls {

std::optional<FontData> ReadFont(StreamReader& in) {
    auto block = in.CountedSpan("font");
    if (block.size() != kStoredFontSize) return std::nullopt;
    StreamReader f(block);
    FontData font;
    font.height = f.SignedWord("font height");
    font.width = f.SignedWord("font width");
    font.escapement = f.SignedWord("font escapement");
    font.orientation = f.SignedWord("font orientation");
    font.weight = f.SignedWord("font weight");
    auto bytes = f.Bytes(8, "font flags");
    font.italic = bytes[0];
    font.underline = bytes[1];
    font.strikeOut = bytes[2];
    font.charSet = bytes[3];
    font.outPrecision = bytes[4];
    font.clipPrecision = bytes[5];
    font.quality = bytes[6];
    font.pitchAndFamily = bytes[7];
    auto face = f.Bytes(32, "font face");
    font.face.assign(reinterpret_cast<const char*>(face.data()),
                     strnlen(reinterpret_cast<const char*>(face.data()), face.size()));
    return font;
}

void WriteFont(StreamWriter& out, const std::optional<FontData>& font) {
    if (!font) {
        out.Word(0);
        return;
    }
    StreamWriter f;
    f.SignedWord(font->height);
    f.SignedWord(font->width);
    f.SignedWord(font->escapement);
    f.SignedWord(font->orientation);
    f.SignedWord(font->weight);
    const uint8_t flags[8] = {font->italic,  font->underline,     font->strikeOut,
                              font->charSet, font->outPrecision,  font->clipPrecision,
                              font->quality, font->pitchAndFamily};
    f.Bytes(flags);
    uint8_t face[32] = {};
    // The face field keeps its terminator: at most 31 bytes of name.
    std::memcpy(face, font->face.data(), std::min<size_t>(font->face.size(), 31));
    f.Bytes(face);
    out.CountedBlock(f.Data());
}

}  // namespace velmora::controls
