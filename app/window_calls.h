// The main window's controls as the collector's handlers reach them: property
// reads and writes and the few control commands, all through the entry table.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "app/engine_calls.h"
#include "app/main_window_ids.h"
#include "app/runtime_calls.h"

namespace velmora::app {

inline ValueRecord ControlOf(uint32_t dataType, uint32_t unit) {
    return MakeControlReference(dataType, kMainWindow, unit);
}

// A text property, read as a fresh text the caller owns.
inline Text ReadText(uint32_t unit, int property = property::kEditBoxContent) {
    uint64_t bits = Entries().ReadProperty(kMainWindow, unit, property, -1);
    return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(bits)));
}

// The runtime keeps its own copy of the text.
inline void WriteText(uint32_t unit, const char* text, int property = property::kEditBoxContent) {
    uint64_t bits = reinterpret_cast<uintptr_t>(text ? text : kEmptyText);
    Entries().WriteProperty(kMainWindow, unit, property, -1, uint32_t(bits), uint32_t(bits >> 32));
}

inline int ReadInteger(uint32_t unit, int property) {
    return static_cast<int32_t>(Entries().ReadProperty(kMainWindow, unit, property, -1));
}

inline void WriteInteger(uint32_t unit, int property, int value) {
    Entries().WriteProperty(kMainWindow, unit, property, -1, uint32_t(value), 0);
}

// Appends the texts, in order, at the end of the log box.
void AppendToLog(std::initializer_list<const char*> texts);

// An information box: the OK button alone and the default title.
void ShowInformation(const char* message);

// Opens the address in one of the window's browsers (no help file, no target frame).
void NavigateBrowser(uint32_t browser, const char* address);

}  // namespace velmora::app
