#include "controls/list_view_commands.h"

#include <algorithm>
#include <vector>

#include "controls/list_view.h"
#include "runtime/command_arguments.h"
#include "runtime/heap.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora::controls {
namespace {

// The list a command names; a call without one reaches no list, and a
// reference to no loaded control ends the program through the runtime.
RowStore* ListOf(const CommandArguments& arg) {
    if (arg.Count() < 1) return nullptr;
    return RowsOf(reinterpret_cast<QWidget*>(
        CallRuntime(kNotifyFindControl, arg[0].WindowId(), arg[0].ControlId())));
}

// A cell read starts with this much room and doubles while the text fills it.
constexpr size_t kFirstReadSize = 512;

}  // namespace

void InsertRow(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    NewRow row;
    row.position = arg.Int(1, -1);
    row.caption = arg.Text(2);
    row.image = std::max(arg.Int(3, -1), -1);
    // Argument 4, the state image, goes without a state mask and changes nothing.
    row.indent = std::max(arg.Int(5, 0), 0);
    row.data = arg.Int(6, 0);
    result->low = static_cast<uint32_t>(AddRow(ListOf(arg), row));
}

void SetCellText(ValueRecord* /*result*/, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    WriteCellText(ListOf(arg), arg.Int(1, -1), arg.Int(2, 0), arg.Text(3));
}

void GetCellText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    RowStore* rows = ListOf(arg);
    int row = arg.Int(1, -1);
    int column = arg.Int(2, 0);
    std::vector<char> buffer(kFirstReadSize);
    size_t n = CopyCellText(rows, row, column, buffer.data(), buffer.size());
    while (n >= buffer.size() - 1) {
        buffer.resize(buffer.size() * 2);
        n = CopyCellText(rows, row, column, buffer.data(), buffer.size());
    }
    char* text = n == 0 ? nullptr : MakeText(buffer.data(), static_cast<long>(n));
    result->SetBits(reinterpret_cast<uintptr_t>(text));
}

void DeleteAllRows(ValueRecord* /*result*/, int count, ValueRecord* args) {
    ClearRows(ListOf({count, args}));
}

}  // namespace velmora::controls
