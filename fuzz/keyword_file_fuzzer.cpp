// Arbitrary bytes as a keyword file: decoded as UTF-8 or GBK or refused, and
// every keyword is a non-empty, trimmed, single line of valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/keyword_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto list = velmora::app::DecodeKeywords(bytes);
    if (!list) return 0;
    for (const std::string& keyword : list->keywords) {
        if (keyword.empty() || keyword.find('\n') != std::string::npos ||
            !velmora::app::IsValidUtf8(keyword))
            std::abort();
        for (char end : {keyword.front(), keyword.back()})
            if (end == ' ' || end == '\t' || end == '\r') std::abort();
    }
    return 0;
}
