// Arbitrary bytes as the settings file: read, written back and updated
// without a crash or a read past its end, and an update reads back as what
// it set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    velmora::app::LoadedSettings loaded = velmora::app::ParseSettings(bytes, "velmora.conf");
    (void)velmora::app::FormatSettings(loaded.settings);
    velmora::app::Settings wanted = loaded.settings;
    wanted.api.appKey = "k;1 #";
    wanted.api.adzoneId = "77";
    wanted.site.templateName = "t";
    const std::string updated = velmora::app::UpdateSettingsText(bytes, wanted);
    if (velmora::app::FormatSettings(velmora::app::ParseSettings(updated, "").settings) !=
        velmora::app::FormatSettings(wanted))
        std::abort();
    return 0;
}
