// The stored window descriptions: window records and their unit records.
//
// They are read once from the program image and kept for the life of the
// process. While a window is not loaded they are the property store of its
// controls; a destroyed window leaves them (with the values written while it
// was loaded) and can be loaded again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/event_handler.h"

namespace velmora {

class StreamReader;
class StreamWriter;

// Unit identifiers: bits 24-27 are always 6, bits 28-31 give the kind.
inline constexpr uint32_t kUnitKindWindow = 0;
inline constexpr uint32_t kUnitKindControl = 1;
inline constexpr uint32_t kUnitKindMenuItem = 2;
constexpr bool IsMenuItemId(uint32_t unitId) {
    return ((unitId >> 24) & 0xF) == 6 && (unitId >> 28) == kUnitKindMenuItem;
}

// Unit state word.
inline constexpr uint32_t kStateVisible = 0x1;
inline constexpr uint32_t kStateDisabled = 0x2;
inline constexpr uint32_t kStateTabStop = 0x4;

struct EventBinding {
    int32_t event = 0;
    int32_t handlerOffset = kNoHandler;
    HandlerRoutine handler = nullptr;  // filled in by ResolveHandlers, never stored

    bool operator==(const EventBinding& o) const {
        return event == o.event && handlerOffset == o.handlerOffset;
    }
};

struct UnitRecord {
    uint32_t id = 0;
    uint32_t type = 0;
    // Another unit of the same window and type whose bindings this one uses.
    uint32_t eventSource = 0;
    // Words that hold run-time slots in the image; kept as stored.
    std::array<uint32_t, 4> runtimeSlots{};
    std::string name;  // GBK
    std::string comment;

    // Control units only.
    uint32_t objectSlot = 0;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t cursorSlot = 0;
    uint32_t parent = 0;  // 0: the window
    // For a paged type, each page's children followed by a 0 word.
    std::vector<uint32_t> children;
    std::vector<uint8_t> cursorData;
    std::string tag;
    uint32_t reserved = 0;
    uint32_t state = 0;
    uint32_t focusOrder = 0;
    std::vector<EventBinding> events;
    std::array<uint8_t, 20> trailer{};
    // The type's own property data; empty means every default.
    std::vector<uint8_t> typeData;

    // Menu-item units only.
    std::array<uint8_t, 12> menuWords{};
    std::string menuText;
    EventBinding menuHandler;  // event number unused

    bool IsMenuItem() const { return IsMenuItemId(id); }
    // The binding for an event number, or null.
    const EventBinding* FindBinding(int32_t event) const;

    bool operator==(const UnitRecord& o) const;
};

// A paged unit's children page by page: a 0 word closes a page, and
// children after the last 0 make one more page.
std::vector<std::span<const uint32_t>> PagesOf(const UnitRecord& unit);

struct WindowRecord {
    uint32_t id = 0;
    // Head words and texts: kept as stored, nothing depends on them.
    uint32_t firstWord = 0;
    uint32_t secondWord = 0;
    std::string firstText;
    std::string secondText;
    // Unit 0 is the window itself.
    std::vector<UnitRecord> units;

    // Unit identifier 0 means the window's own unit. Null when absent.
    UnitRecord* FindUnit(uint32_t unitId);
    const UnitRecord* FindUnit(uint32_t unitId) const;
    int IndexOf(uint32_t unitId) const;  // -1 when absent

    bool operator==(const WindowRecord& o) const = default;
};

// Reading. A failed read throws StreamError from inside; these catch it.
struct WindowBlockResult {
    std::vector<WindowRecord> windows;
    std::string error;  // empty on success
    bool Ok() const { return error.empty(); }
};
WindowBlockResult ReadWindowBlock(std::span<const uint8_t> block);

// The records layer, for the writer's mirror tests and the type readers.
UnitRecord ReadUnitRecord(uint32_t unitId, StreamReader& in);
WindowRecord ReadWindowRecord(uint32_t windowId, StreamReader& in);

// Turns stored handler offsets into routines. False when an offset does not
// name an entry of the table.
bool ResolveHandlers(std::vector<WindowRecord>& windows, const HandlerTable& handlers);

}  // namespace velmora
