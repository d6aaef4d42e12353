// Stored property data of HtmlViewer (layout version 2; versions 0 and 1 are
// read the same way, without the last word).
#pragma once

#include "controls/stored_data.h"

namespace velmora::controls {

struct HtmlViewerData {
    static constexpr uint32_t kVersion = 2;
    uint32_t version = kVersion;
    int32_t textSize = 2;  // 0 smallest .. 4 largest; clamped when applied
    uint32_t offline = 0;
    uint32_t silent = 0;
    std::string address;  // GBK
    // The login browser: its pages keep the persistent profile that shares
    // the process's cookies. Every other browser, and every page from the
    // disk, is off the record.
    uint32_t keepsLogin = 0;

    bool operator==(const HtmlViewerData&) const = default;

    // The stored order after the version word.
    template <typename Io, typename Self>
    static void Fields(Io& io, Self& d) {
        io(d.textSize, "text size");
        io(d.offline, "offline");
        io(d.silent, "silent");
        io(d.address, "address");
        if (d.version >= 2) io(d.keepsLogin, "keeps login");
    }
};

}  // namespace velmora::controls
