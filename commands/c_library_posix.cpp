#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "commands/c_library.h"

namespace velmora::commands {

const void* FindBytes(const void* haystack, size_t haystackLength, const void* needle,
                      size_t needleLength) {
    return memmem(haystack, haystackLength, needle, needleLength);
}

double ReadDecimal(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

}  // namespace velmora::commands
