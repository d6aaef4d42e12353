// What each system supplies to the file replace (file_replace_posix.cpp,
// file_replace_win32.cpp); the rules of the replace are shared
// (file_replace.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

bool IsLink(const std::string& nativePath);
// The file a link at the name leads to; the path itself when it is none.
std::string ResolveLink(const std::string& nativePath);

// Writes the parts to a sibling and puts it in the target's place. Over an
// existing file (its attribute word `kept`) the file keeps its access rules
// and attributes; a new name, or a link standing there, gives way. False when
// anything failed (on POSIX with errno saying why).
bool WriteIntoPlace(const std::string& target, std::span<const std::string_view> parts,
                    std::optional<uint32_t> kept);

}  // namespace velmora
