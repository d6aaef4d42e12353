#include "controls/list_view_data.h"

#include <cstring>

#include "controls/stored_data.h"

namespace velmora::controls {
std::optional<std::vector<ListColumn>> ReadColumns(std::span<const uint8_t> bytes) {
    std::vector<ListColumn> columns;
    try {
        StreamReader in(bytes);
        while (!in.AtEnd()) {
            ListColumn c;
            c.imageOnRight = in.Bytes(1, "image side")[0];
            c.image = in.SignedWord("header image");
            c.alignment = in.SignedWord("alignment");
            c.width = in.SignedWord("width");
            c.caption = in.ZeroText("caption");
            columns.push_back(std::move(c));
        }
    } catch (const StreamError&) {
        return std::nullopt;
    }
    return columns;
}

std::vector<uint8_t> WriteColumns(const std::vector<ListColumn>& columns) {
    StreamWriter out;
    for (const ListColumn& c : columns) {
        const uint8_t side = c.imageOnRight;
        out.Bytes({&side, 1});
        out.SignedWord(c.image);
        out.SignedWord(c.alignment);
        out.SignedWord(c.width);
        out.ZeroText(c.caption);
    }
    return out.Take();
}

}  // namespace velmora::controls
