// Core commands that act on an edit box, a combo box or a list box, passed as
// a control reference in the first argument.
#pragma once

#include "runtime/value.h"

namespace velmora::commands {

void AddText(ValueRecord* result, int count, ValueRecord* args);             // EditBox
void ComboBoxGetItemText(ValueRecord* result, int count, ValueRecord* args);  // ComboBox
void ListBoxGetItemText(ValueRecord* result, int count, ValueRecord* args);   // ListBox
void SelectItem(ValueRecord* result, int count, ValueRecord* args);           // ListBox
void AddItem(ValueRecord* result, int count, ValueRecord* args);              // ListBox
void ClearItems(ValueRecord* result, int count, ValueRecord* args);           // ListBox

}  // namespace velmora::commands
