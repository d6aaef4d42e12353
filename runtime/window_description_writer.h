// Writes window records in the stored form that ReadWindowBlock reads, field
// for field. The build uses it to turn the window source into the block the
// program carries; tests use it to make streams.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/window_description.h"

namespace velmora {

void WriteUnitRecord(const UnitRecord& unit, StreamWriter& out);
void WriteWindowRecord(const WindowRecord& window, StreamWriter& out);
std::vector<uint8_t> WriteWindowBlock(std::span<const WindowRecord> windows);

}  // namespace velmora
