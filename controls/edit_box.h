// EditBox: a single-line or multi-line text box; event 0 is a change of its
// content, whether typed or written. Options that shape the box at creation
// rebuild it when written.
#pragma once

#include <QString>
#include <cstdint>

#include "runtime/data_type.h"

class QWidget;

namespace velmora::controls {

// Type-specific property indices, counted from 8.
enum EditBoxProperty : int {
    kEditBoxContent = 0,           // 8
    kEditBoxHideSelection = 5,     // 13
    kEditBoxMultiLine = 7,         // 15
    kEditBoxScrollBars = 8,        // 16
    kEditBoxInputMode = 10,        // 18
    kEditBoxPasswordChar = 11,     // 19
    kEditBoxAdjuster = 13,         // 21
    kEditBoxSelectionStart = 16,   // 24
    kEditBoxSelectionLength = 17,  // 25
    kEditBoxSelectedText = 18,     // 26
};

inline constexpr int32_t kEditBoxChanged = 0;

InterfaceRoutine EditBoxInterface(int request);

// Appends at the very end, scrolls it into view and records no undo step.
void AppendToEditBox(QWidget* box, const QString& text);

}  // namespace velmora::controls
