// Windows: native texts and paths (UTF-8, '/' between folders, as on every
// system here) to the wide strings of the Win32 calls and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// UTF-16 for a native path, '\' between folders; empty when the path is no
// UTF-8, which no call then finds.
std::wstring WidePath(std::string_view nativePath);

// A wide name or path as a native one; nullopt when it holds a lone
// surrogate, which UTF-8 cannot spell.
std::optional<std::string> NativeFromWide(std::wstring_view wide);

// Strict UTF-16 to UTF-8.
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);

}  // namespace velmora
