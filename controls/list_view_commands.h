// The report list's commands (extended-UI library, index 2). The first
// argument of each is the list's control reference.
#pragma once

#include "runtime/value.h"

namespace velmora::controls {

void InsertRow(ValueRecord* result, int count, ValueRecord* args);
void SetCellText(ValueRecord* result, int count, ValueRecord* args);
void GetCellText(ValueRecord* result, int count, ValueRecord* args);
void DeleteAllRows(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::controls
