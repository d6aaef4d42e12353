#include <windows.h>

#include <algorithm>

#include "runtime/gbk.h"
#include "runtime/wide_text.h"

namespace velmora {

std::wstring WidePath(std::string_view nativePath) {
    std::optional<std::u16string> utf16 = Utf8ToUtf16(nativePath);
    if (!utf16) return {};
    std::wstring wide(utf16->begin(), utf16->end());
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16) {
    if (utf16.empty()) return std::string();
    const auto* units = reinterpret_cast<const wchar_t*>(utf16.data());
    const int count = static_cast<int>(utf16.size());
    int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, units, count, nullptr, 0, nullptr,
                                   nullptr);
    if (size <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, units, count, out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::optional<std::string> NativeFromWide(std::wstring_view wide) {
    std::optional<std::string> native =
        Utf16ToUtf8({reinterpret_cast<const char16_t*>(wide.data()), wide.size()});
    if (native) std::replace(native->begin(), native->end(), '\\', '/');
    return native;
}

}  // namespace velmora
