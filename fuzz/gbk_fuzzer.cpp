// Arbitrary bytes through the GBK edge: strict conversions either fail or
// round-trip; the byte-keeping pair always round-trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto utf8 = velmora::GbkToUtf8(bytes)) {
        auto back = velmora::Utf8ToGbk(*utf8);
        if (!back || *back != bytes) std::abort();
    }
    if (auto utf16 = velmora::GbkToUtf16(bytes)) {
        auto back = velmora::Utf16ToGbk(*utf16);
        if (!back || *back != bytes) std::abort();
    }
    (void)velmora::GbkToUtf8Lossy(bytes);
    // What goes out to a widget comes back byte for byte, whatever the bytes.
    if (velmora::Utf16ToGbkKeepingBytes(velmora::GbkToUtf16KeepingBytes(bytes)) != bytes)
        std::abort();
    return 0;
}
