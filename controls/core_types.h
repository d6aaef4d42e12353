// The core library's data-type table: 51 positions, type number = position.
// Positions of types this build does not carry stay empty entries so that
// every other type keeps its number.
#pragma once

#include <span>

#include "runtime/data_type.h"

namespace velmora::controls {

inline constexpr size_t kCoreTypeCount = 51;

// Positions (1-based) of the core types the window description uses.
enum CoreTypePosition : uint32_t {
    kWindowPosition = 1,
    kMenuItemPosition = 3,
    kEditBoxPosition = 5,
    kShapeBoxPosition = 7,
    kGroupBoxPosition = 9,
    kLabelPosition = 10,
    kButtonPosition = 11,
    kRadioBoxPosition = 13,
    kComboBoxPosition = 14,
    kListBoxPosition = 15,
    kTabPosition = 21,
    kHyperLinkerPosition = 29,
};

std::span<const DataTypeEntry> CoreDataTypes();

}  // namespace velmora::controls
