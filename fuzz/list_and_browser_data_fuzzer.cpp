// Arbitrary bytes as the stored data of the report list and the browser:
// each reader loads it or refuses it, and what it loads writes back to bytes
// that load again. A font face read from a full 32-byte field is written
// with its terminator, so the fixed point is checked after one round.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "controls/html_viewer_data.h"
#include "controls/list_view_data.h"

namespace {

template <typename Data, typename Read, typename Write>
void RoundTrip(const Data& loaded, Read read, Write write) {
    auto once = read(write(loaded));
    if (!once) std::abort();
    if (read(write(*once)) != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::controls;
    std::span<const uint8_t> bytes(data, size);
    auto readColumns = [](std::span<const uint8_t> b) { return ReadColumns(b); };
    if (auto list = ReadStoredData<ListViewData>(bytes)) {
        RoundTrip(*list, ReadStoredData<ListViewData>, WriteStoredData<ListViewData>);
        if (auto columns = ReadColumns(list->columns))
            RoundTrip(*columns, readColumns, WriteColumns);
    }
    if (auto browser = ReadStoredData<HtmlViewerData>(bytes))
        RoundTrip(*browser, ReadStoredData<HtmlViewerData>, WriteStoredData<HtmlViewerData>);
    if (auto columns = ReadColumns(bytes)) RoundTrip(*columns, readColumns, WriteColumns);
    return 0;
}
