// Event handlers of the application and how stored bindings reach them.
//
// The application supplies one handler table. A stored binding names its
// handler by a byte offset from the table's start (the handler base), so the
// window data never holds an address; start-up turns each offset back into
// a routine and refuses offsets that do not land on an entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

inline constexpr int kMaxHandlerArguments = 12;

// The event's arguments, each widened to 64 bits as the dispatcher passes them.
struct HandlerCall {
    int argumentCount = 0;
    uint64_t arguments[kMaxHandlerArguments] = {};
};

// A handler either returns nothing or one value.
struct HandlerResult {
    bool returned = false;
    uint64_t value = 0;
};

using HandlerRoutine = HandlerResult (*)(const HandlerCall& call);

struct HandlerEntry {
    const char* name;
    HandlerRoutine routine;
};

struct HandlerTable {
    const HandlerEntry* entries = nullptr;
    size_t count = 0;
};

// A stored offset that binds nothing.
inline constexpr int32_t kNoHandler = -1;

constexpr int32_t HandlerOffset(size_t index) {
    return static_cast<int32_t>(index * sizeof(HandlerEntry));
}

// The routine a stored offset names: null for kNoHandler; false when the
// offset lies outside the table or between its entries.
bool ResolveHandlerOffset(const HandlerTable& table, int32_t offset, HandlerRoutine* routine);

// Adapters for handlers that take no arguments: one that returns nothing
// and one that returns a logical (a close handler refusing with false).
template <void (*F)()>
HandlerResult PlainHandler(const HandlerCall&) {
    F();
    return {};
}
template <bool (*F)()>
HandlerResult LogicalHandler(const HandlerCall&) {
    return {true, F() ? 1u : 0u};
}

}  // namespace velmora
