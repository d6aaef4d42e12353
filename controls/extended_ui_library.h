// The extended-UI library: the report list control.
#pragma once

#include <span>

#include "runtime/program_image.h"

namespace velmora::controls {

// ListView's place in the library's positional type table.
inline constexpr uint32_t kListViewPosition = 4;
inline constexpr uint32_t kExtendedUiTypeCount = 4;

// The record the program image lists for this library.
const LibraryRecord& ExtendedUiLibrary();
std::span<const DataTypeEntry> ExtendedUiDataTypes();

}  // namespace velmora::controls
