#include "commands/control_commands.h"

#include <QWidget>

#include "controls/combo_box.h"
#include "controls/control_support.h"
#include "controls/edit_box.h"
#include "controls/list_box.h"
#include "runtime/notification.h"

namespace velmora::commands {
namespace {

// The live control a reference names; a reference to no loaded control is
// the runtime's fatal error.
QWidget* Control(const ValueRecord& reference) {
    return reinterpret_cast<QWidget*>(
        RuntimeNotify(kNotifyFindControl, reference.WindowId(), reference.ControlId()));
}

void SetText(ValueRecord* result, const std::optional<QString>& text) {
    *result = controls::TextValue(text.value_or(QString()));
}

}  // namespace

void AddText(ValueRecord*, int count, ValueRecord* args) {
    QWidget* box = Control(args[0]);
    for (int i = 1; i < count; ++i)
        controls::AppendToEditBox(box, FromGbk(args[i].Text()));
}

void ComboBoxGetItemText(ValueRecord* result, int, ValueRecord* args) {
    SetText(result, controls::ComboBoxItem(Control(args[0]), args[1].Int()));
}

void ListBoxGetItemText(ValueRecord* result, int, ValueRecord* args) {
    SetText(result, controls::ListBoxItem(Control(args[0]), args[1].Int()));
}

void SelectItem(ValueRecord* result, int count, ValueRecord* args) {
    // Omitted or 1 selects; anything else clears.
    bool select = count < 3 || args[2].Omitted() || args[2].Int() == 1;
    *result = MakeLogical(controls::SelectListBoxItem(Control(args[0]), args[1].Int(), select));
}

void AddItem(ValueRecord* result, int count, ValueRecord* args) {
    int32_t value = count >= 3 && !args[2].Omitted() ? args[2].Int() : 0;
    *result = MakeInteger(
        controls::AddListBoxItem(Control(args[0]), FromGbk(args[1].Text()), value));
}

void ClearItems(ValueRecord*, int, ValueRecord* args) {
    controls::ClearListBox(Control(args[0]));
}

}  // namespace velmora::commands
