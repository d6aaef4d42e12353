// Reading and writing control properties by (window, unit, property index):
// the common eight from the live control or the unit record, the rest through
// the type's get and set routines, which need the window to be built.
#pragma once

#include <cstdint>

namespace velmora {

// Limits of stored positions and sizes.
inline constexpr int32_t kPositionLimit = 32627;

// The entry table's two property slots. A value travels as its 64 bits:
// integers, logicals and colours in the low word, texts and byte data as
// pointers; a text or byte set read is a fresh block the caller frees.
uint64_t ReadControlProperty(uint32_t windowId, uint32_t unitId, int property, int element);
void WriteControlProperty(uint32_t windowId, uint32_t unitId, int property, int element,
                          uint32_t low, uint32_t high);

}  // namespace velmora
