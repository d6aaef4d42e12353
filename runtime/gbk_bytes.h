// How a byte that GBK cannot decode travels through UTF-16 and back: as a
// private-use character, which GBK cannot encode, so the way back finds it.
#pragma once

#include <optional>

namespace velmora {

char16_t EscapedByte(unsigned char byte);
// The byte a character stands for; nullopt for any other character.
std::optional<char> UnescapedByte(char16_t c);

}  // namespace velmora
