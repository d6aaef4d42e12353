// Positions in a control's text counted the way the properties count them:
// in bytes of its GBK form, where a character below 0x80, the euro sign and a
// kept foreign byte (U+F780 to U+F7FF) take one byte and any other two.
#pragma once

#include <QString>
#include <cstdint>

namespace velmora::controls {

int64_t GbkBytes(QStringView text);

// The characters before a byte position; a position inside a character
// counts that character as before it.
int CharactersBefore(const QString& text, int64_t bytes);

int64_t BytesBefore(const QString& text, int characters);

}  // namespace velmora::controls
