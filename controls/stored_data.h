// Shared frame of every type's stored property data: an empty block means
// all defaults; otherwise a layout version comes first, and a version newer
// than the type knows, or data cut short, cannot be used.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "runtime/stream_reader.h"
#include "runtime/stream_writer.h"

namespace velmora::controls {

// Data has a `version` member and a static kVersion; `read` reads what
// follows the version word according to data.version.
template <typename Data>
std::optional<Data> ReadStoredData(std::span<const uint8_t> bytes,
                                   void (*read)(StreamReader& in, Data& data)) {
    Data data;
    if (bytes.empty()) return data;
    try {
        StreamReader in(bytes);
        data.version = in.Word("layout version");
        if (data.version > Data::kVersion) return std::nullopt;
        read(in, data);
        return data;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

template <typename Data>
std::vector<uint8_t> WriteStoredData(const Data& data,
                                     void (*write)(StreamWriter& out, const Data& data)) {
    StreamWriter out;
    out.Word(data.version);
    write(out, data);
    return out.Take();
}

}  // namespace velmora::controls
