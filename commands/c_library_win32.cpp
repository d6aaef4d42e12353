#include <locale.h>

#include <cstdlib>
#include <string_view>

#include "commands/c_library.h"

namespace velmora::commands {

// No memmem here; the library's search looks for the first byte with memchr.
const void* FindBytes(const void* haystack, size_t haystackLength, const void* needle,
                      size_t needleLength) {
    const std::string_view text(static_cast<const char*>(haystack), haystackLength);
    const size_t at = text.find({static_cast<const char*>(needle), needleLength});
    return at == std::string_view::npos ? nullptr : text.data() + at;
}

double ReadDecimal(const std::string& text) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(text.c_str(), nullptr, cLocale);
}

}  // namespace velmora::commands
