#include "commands/control_commands.h"

#include <QWidget>

#include "controls/combo_box.h"
#include "controls/control_support.h"
#include "controls/edit_box.h"
#include "controls/list_box.h"
#include "runtime/command_arguments.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora::commands {
namespace {

// The live control a reference names; a reference to no loaded control, or
// none at all, is the runtime's fatal error.
QWidget* Control(const ValueRecord& reference) {
    return reinterpret_cast<QWidget*>(
        CallRuntime(kNotifyFindControl, reference.WindowId(), reference.ControlId()));
}

void SetText(ValueRecord* result, const std::optional<QString>& text) {
    *result = controls::TextValue(text.value_or(QString()));
}

}  // namespace

void AddText(ValueRecord*, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    QWidget* box = Control(arg[0]);
    for (int i = 1; i < arg.Count(); ++i) controls::AppendToEditBox(box, FromGbk(arg[i].Text()));
}

void ComboBoxGetItemText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    SetText(result, controls::ComboBoxItem(Control(arg[0]), arg[1].Int()));
}

void ListBoxGetItemText(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    SetText(result, controls::ListBoxItem(Control(arg[0]), arg[1].Int()));
}

void SelectItem(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    // Omitted or 1 selects; anything else clears.
    bool select = arg.Int(2, 1) == 1;
    *result = MakeLogical(controls::SelectListBoxItem(Control(arg[0]), arg[1].Int(), select));
}

void AddItem(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    *result = MakeInteger(
        controls::AddListBoxItem(Control(arg[0]), FromGbk(arg[1].Text()), arg.Int(2, 0)));
}

void ClearItems(ValueRecord*, int count, ValueRecord* args) {
    controls::ClearListBox(Control(CommandArguments(count, args)[0]));
}

}  // namespace velmora::commands
