#include "runtime/window_description.h"

#include <algorithm>

#include "runtime/stream_reader.h"

namespace velmora {

const EventBinding* UnitRecord::FindBinding(int32_t event) const {
    for (const EventBinding& b : events)
        if (b.event == event) return &b;
    return nullptr;
}

bool UnitRecord::operator==(const UnitRecord& o) const {
    return id == o.id && type == o.type && eventSource == o.eventSource &&
           runtimeSlots == o.runtimeSlots && name == o.name && comment == o.comment &&
           objectSlot == o.objectSlot && left == o.left && top == o.top && width == o.width &&
           height == o.height && cursorSlot == o.cursorSlot && parent == o.parent &&
           children == o.children && cursorData == o.cursorData && tag == o.tag &&
           reserved == o.reserved && state == o.state && focusOrder == o.focusOrder &&
           events == o.events && trailer == o.trailer && typeData == o.typeData &&
           menuWords == o.menuWords && menuText == o.menuText && menuHandler == o.menuHandler;
}

std::vector<std::span<const uint32_t>> PagesOf(const UnitRecord& unit) {
    std::vector<std::span<const uint32_t>> pages;
    std::span<const uint32_t> rest(unit.children);
    while (!rest.empty()) {
        size_t end = 0;
        while (end < rest.size() && rest[end] != 0) ++end;
        pages.push_back(rest.first(end));
        rest = rest.subspan(std::min(end + 1, rest.size()));
    }
    return pages;
}

UnitRecord* WindowRecord::FindUnit(uint32_t unitId) {
    int i = IndexOf(unitId);
    return i < 0 ? nullptr : &units[static_cast<size_t>(i)];
}

const UnitRecord* WindowRecord::FindUnit(uint32_t unitId) const {
    return const_cast<WindowRecord*>(this)->FindUnit(unitId);
}

int WindowRecord::IndexOf(uint32_t unitId) const {
    if (units.empty()) return -1;
    if (unitId == 0) return 0;
    for (size_t i = 0; i < units.size(); ++i)
        if (units[i].id == unitId) return static_cast<int>(i);
    return -1;
}

UnitRecord ReadUnitRecord(uint32_t unitId, StreamReader& in) {
    UnitRecord u;
    u.id = unitId;
    u.type = in.Word("unit type");
    u.eventSource = in.Word("event source");
    for (uint32_t& w : u.runtimeSlots) w = in.Word("unit slots");
    u.name = in.ZeroText("unit name");
    u.comment = in.ZeroText("unit comment");
    if (u.IsMenuItem()) {
        auto words = in.Bytes(u.menuWords.size(), "menu item words");
        std::copy(words.begin(), words.end(), u.menuWords.begin());
        u.menuText = in.ZeroText("menu item text");
        u.menuHandler.handlerOffset = in.SignedWord("menu item handler");
        auto rest = in.Rest();
        u.typeData.assign(rest.begin(), rest.end());
        return u;
    }
    u.objectSlot = in.Word("object slot");
    u.left = in.SignedWord("left");
    u.top = in.SignedWord("top");
    u.width = in.SignedWord("width");
    u.height = in.SignedWord("height");
    u.cursorSlot = in.Word("cursor slot");
    u.parent = in.Word("parent");
    uint32_t childCount = in.Word("child count");
    in.ExpectItems(childCount, 4, "children");
    u.children.reserve(childCount);
    for (uint32_t i = 0; i < childCount; ++i) u.children.push_back(in.Word("child"));
    u.cursorData = in.CountedBlock("cursor data");
    u.tag = in.ZeroText("tag");
    u.reserved = in.Word("reserved word");
    u.state = in.Word("state");
    u.focusOrder = in.Word("focus order");
    uint32_t eventCount = in.Word("event count");
    in.ExpectItems(eventCount, 8, "event bindings");
    u.events.reserve(eventCount);
    for (uint32_t i = 0; i < eventCount; ++i) {
        EventBinding b;
        b.event = in.SignedWord("event number");
        b.handlerOffset = in.SignedWord("handler offset");
        u.events.push_back(b);
    }
    auto trailer = in.Bytes(u.trailer.size(), "unit trailer");
    std::copy(trailer.begin(), trailer.end(), u.trailer.begin());
    auto rest = in.Rest();
    u.typeData.assign(rest.begin(), rest.end());
    return u;
}

WindowRecord ReadWindowRecord(uint32_t windowId, StreamReader& in) {
    WindowRecord w;
    w.id = windowId;
    w.firstWord = in.Word("window first word");
    w.secondWord = in.Word("window second word");
    w.firstText = in.CountedText("window first text");
    w.secondText = in.CountedText("window second text");
    uint32_t unitCount = in.Word("unit count");
    uint32_t tableSize = in.Word("unit table size");
    StreamReader table = in.Sub(tableSize, "unit table");
    table.ExpectItems(unitCount, 8, "unit identifiers and offsets");
    std::vector<uint32_t> ids(unitCount);
    std::vector<uint32_t> offsets(unitCount);
    for (uint32_t& id : ids) id = table.Word("unit identifier");
    for (uint32_t& offset : offsets) offset = table.Word("unit offset");
    std::span<const uint8_t> data = table.Rest();

    // Entries may lie in any order but must not overlap: otherwise a small
    // forged table could make every unit re-read (and copy) the whole data.
    std::vector<uint32_t> order(unitCount);
    for (uint32_t i = 0; i < unitCount; ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return offsets[a] < offsets[b]; });
    size_t usedUpTo = 0;
    w.units.resize(unitCount);
    for (uint32_t i : order) {
        if (offsets[i] < usedUpTo || offsets[i] > data.size())
            in.Fail("unit " + std::to_string(i) + ": offset " + std::to_string(offsets[i]) +
                    " overlaps another unit or lies outside the unit data");
        StreamReader entry(data.subspan(offsets[i]));
        uint32_t length = entry.Word("unit length");
        StreamReader record = entry.Sub(length, "unit record");
        w.units[i] = ReadUnitRecord(ids[i], record);
        usedUpTo = offsets[i] + 4 + size_t(length);
    }
    return w;
}

WindowBlockResult ReadWindowBlock(std::span<const uint8_t> block) {
    WindowBlockResult result;
    try {
        StreamReader in(block);
        auto index = in.CountedSpan("window index");
        if (index.size() % 8 != 0) in.Fail("window index: length is not a multiple of 8");
        StreamReader ids(index);
        size_t count = index.size() / 8;
        // Every window record takes at least its head words, so a count that
        // cannot fit is refused before anything is reserved for it.
        in.ExpectItems(static_cast<uint32_t>(count), 24, "window records");
        result.windows.reserve(count);
        for (size_t i = 0; i < count; ++i)
            result.windows.push_back(ReadWindowRecord(ids.Word("window identifier"), in));
    } catch (const StreamError& e) {
        result.windows.clear();
        result.error = e.what();
        if (result.error.empty()) result.error = "unreadable window data";
    }
    return result;
}

bool ResolveHandlerOffset(const HandlerTable& table, int32_t offset, HandlerRoutine* routine) {
    *routine = nullptr;
    if (offset == kNoHandler) return true;
    if (offset < 0 || offset % sizeof(HandlerEntry) != 0) return false;
    size_t index = static_cast<size_t>(offset) / sizeof(HandlerEntry);
    if (index >= table.count) return false;
    *routine = table.entries[index].routine;
    return true;
}

bool ResolveHandlers(std::vector<WindowRecord>& windows, const HandlerTable& handlers) {
    for (WindowRecord& w : windows)
        for (UnitRecord& u : w.units) {
            if (u.IsMenuItem()) {
                if (!ResolveHandlerOffset(handlers, u.menuHandler.handlerOffset,
                                          &u.menuHandler.handler))
                    return false;
                continue;
            }
            for (EventBinding& b : u.events)
                if (!ResolveHandlerOffset(handlers, b.handlerOffset, &b.handler)) return false;
        }
    return true;
}

}  // namespace velmora
