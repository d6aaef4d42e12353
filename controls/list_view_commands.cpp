#include "controls/list_view_commands.h"

#include <algorithm>
#include <vector>

#include "controls/list_view.h"
#include "runtime/heap.h"
#include "runtime/notification.h"

namespace velmora::controls {
namespace {

// The list a command names; a reference to no loaded control ends the
// program through the runtime.
RowStore* ListOf(int count, const ValueRecord* args) {
    if (count < 1) return nullptr;
    auto* control = reinterpret_cast<QWidget*>(
        RuntimeNotify(kNotifyFindControl, args[0].WindowId(), args[0].ControlId()));
    return RowsOf(control);
}

// Argument i, or null when the caller left it out.
const ValueRecord* Given(int count, const ValueRecord* args, int i) {
    return i < count && !args[i].Omitted() ? &args[i] : nullptr;
}

int32_t IntegerOr(int count, const ValueRecord* args, int i, int32_t fallback) {
    const ValueRecord* v = Given(count, args, i);
    return v ? v->Int() : fallback;
}

const char* TextOr(int count, const ValueRecord* args, int i) {
    const ValueRecord* v = Given(count, args, i);
    return v ? v->Text() : "";
}

// A cell read starts with this much room and doubles while the text fills it.
constexpr size_t kFirstReadSize = 512;

}  // namespace

void InsertRow(ValueRecord* result, int count, ValueRecord* args) {
    RowStore* rows = ListOf(count, args);
    NewRow row;
    row.position = IntegerOr(count, args, 1, -1);
    row.caption = TextOr(count, args, 2);
    row.image = std::max(IntegerOr(count, args, 3, -1), -1);
    // Argument 4, the state image, goes without a state mask and changes nothing.
    row.indent = std::max(IntegerOr(count, args, 5, 0), 0);
    row.data = IntegerOr(count, args, 6, 0);
    result->low = static_cast<uint32_t>(InsertRow(rows, row));
}

void SetCellText(ValueRecord* /*result*/, int count, ValueRecord* args) {
    RowStore* rows = ListOf(count, args);
    SetCellText(rows, IntegerOr(count, args, 1, -1), IntegerOr(count, args, 2, 0),
                TextOr(count, args, 3));
}

void GetCellText(ValueRecord* result, int count, ValueRecord* args) {
    RowStore* rows = ListOf(count, args);
    int row = IntegerOr(count, args, 1, -1);
    int column = IntegerOr(count, args, 2, 0);
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
    DeleteAllRows(ListOf(count, args));
}

}  // namespace velmora::controls
