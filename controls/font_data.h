// A font as stored in property data: a counted block holding nothing (the
// system GUI font) or a 60-byte logical-font record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/stream_reader.h"
#include "runtime/stream_writer.h"

namespace velmora::controls {

struct FontData {
    int32_t height = 0;  // negative: character height in pixels
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 134;  // GBK
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::string face;  // GBK, at most 31 bytes

    bool operator==(const FontData&) const = default;
};

inline constexpr size_t kStoredFontSize = 60;

// A block of any other size than 0 or 60 is not a font the types can use and
// reads as the system font.
std::optional<FontData> ReadFont(StreamReader& in);
void WriteFont(StreamWriter& out, const std::optional<FontData>& font);

}  // namespace velmora::controls
