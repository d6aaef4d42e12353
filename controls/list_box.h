// ListBox: a list of texts, each with a data word; event 0 is a change of
// the selection by the user.
#pragma once

#include <QString>
#include <optional>

#include "runtime/data_type.h"

class QWidget;

namespace velmora::controls {

enum ListBoxProperty : int {
    kListBoxMultiSelect = 1,     // 9
    kListBoxExtendedSelect = 2,  // 10
    kListBoxCurrent = 8,         // 16
    kListBoxItems = 9,           // 17
    kListBoxItemValues = 10,     // 18
    kListBoxSorted = 13,         // 21
};

enum ListBoxEvent : int32_t {
    kListBoxSelectionChanged = 0,
    kListBoxDoubleClicked = 1,
};

InterfaceRoutine ListBoxInterface(int request);

// The operations of the list-box commands; the widget must be a list box.
std::optional<QString> ListBoxItem(QWidget* list, int index);
// Index of the new item (its place in a sorted list), or -1.
int AddListBoxItem(QWidget* list, const QString& text, int32_t value);
void ClearListBox(QWidget* list);
// False for an index outside the items, and for clearing the selection of a
// single-selection list, which the list reports as refused.
bool SelectListBoxItem(QWidget* list, int index, bool select);

}  // namespace velmora::controls
