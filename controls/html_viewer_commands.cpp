#include "controls/html_viewer_commands.h"

#include "controls/html_viewer.h"
#include "runtime/notification.h"

namespace velmora::controls {

void Navigate(ValueRecord* /*result*/, int count, ValueRecord* args) {
    if (count < 1) return;
    auto* control = reinterpret_cast<QWidget*>(
        RuntimeNotify(kNotifyFindControl, args[0].WindowId(), args[0].ControlId()));
    const char* address = count > 1 && !args[1].Omitted() ? args[1].Text() : "";
    const char* helpFile = count > 2 && !args[2].Omitted() ? args[2].Text() : "";
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
