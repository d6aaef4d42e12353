// ListView: a report list of GBK texts, rows under column headers. The rows
// live in an item model that belongs to the view, so a hidden list holds
// rows and columns like a shown one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/data_type.h"

class QWidget;

namespace velmora::controls {

InterfaceRoutine ListViewInterface(int request);

struct NewRow {
    int position = -1;  // beyond the last row appends
    std::string_view caption;
    int32_t image = -1;
    int32_t indent = 0;
    int32_t data = 0;
};

// The list behind a control created by ListViewInterface; null for any
// other widget.
class RowStore;
RowStore* RowsOf(QWidget* control);

// Index of the new row, or -1 when the control cannot hold one.
int AddRow(RowStore* rows, const NewRow& row);
// A cell outside the list is left alone.
void WriteCellText(RowStore* rows, int row, int column, std::string_view gbk);
// Copies at most size - 1 bytes of the cell's text and a terminator into
// `buffer`; answers how many text bytes it copied (0 for a missing cell).
size_t CopyCellText(RowStore* rows, int row, int column, char* buffer, size_t size);
void ClearRows(RowStore* rows);
int RowCount(RowStore* rows);
int ColumnCount(RowStore* rows);

}  // namespace velmora::controls
