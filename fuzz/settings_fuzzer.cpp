// Arbitrary bytes as the settings file: read and written back without a
// crash or a read past its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    velmora::app::LoadedSettings loaded = velmora::app::ParseSettings(bytes, "velmora.conf");
    (void)velmora::app::FormatSettings(loaded.settings);
    return 0;
}
