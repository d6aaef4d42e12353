#include "controls/html_viewer_commands.h"

#include "controls/html_viewer.h"
#include "runtime/command_arguments.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora::controls {

void Navigate(ValueRecord* /*result*/, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    if (arg.Count() < 1) return;
    auto* control = reinterpret_cast<QWidget*>(
        CallRuntime(kNotifyFindControl, arg[0].WindowId(), arg[0].ControlId()));
    const char* address = arg.Text(1);
    const char* helpFile = arg.Text(2);
    // The target frame (argument 3) has no counterpart here: every address
    // opens in the control itself.
    if (*helpFile == 0) {
        NavigateTo(control, address);
        return;
    }
    // A composed address that does not fit is refused, not cut.
    if (auto composed = ComposeHelpAddress(helpFile, address)) NavigateTo(control, *composed);
}

}  // namespace velmora::controls
