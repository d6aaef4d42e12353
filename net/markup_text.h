// Text set into HTML or XML: the five characters with a meaning there become
// references. Byte-wise is safe for UTF-8 and GBK alike: these characters are
// all below 0x40, and neither encoding uses such a byte inside a character.
#pragma once

#include <string>
#include <string_view>

namespace velmora::net {

std::string EscapeMarkup(std::string_view text);

}  // namespace velmora::net
