// ComboBox: a list of items with an edit field (types 0 and 1) or without
// one (type 2); event 0 is a change of the selection by the user.
#pragma once

#include <QString>

#include "runtime/data_type.h"

class QWidget;

namespace velmora::controls {

enum ComboBoxProperty : int {
    kComboBoxType = 0,             // 8
    kComboBoxContent = 1,          // 9
    kComboBoxSelectionStart = 3,   // 11
    kComboBoxSelectionLength = 4,  // 12
    kComboBoxSelectedText = 5,     // 13
    kComboBoxCurrent = 11,         // 19
    kComboBoxItems = 12,           // 20
    kComboBoxItemValues = 13,      // 21
    kComboBoxSorted = 16,          // 24
};

// A drop-down list has at least this many pixels from the field's top to the
// list's end.
inline constexpr int kDroppedHeight = 160;

inline constexpr int32_t kComboBoxSelectionChanged = 0;

InterfaceRoutine ComboBoxInterface(int request);

// Null for an index outside the items.
std::optional<QString> ComboBoxItem(QWidget* combo, int index);

}  // namespace velmora::controls
