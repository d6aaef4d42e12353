#include "app/window_calls.h"

#include <vector>

#include "commands/control_commands.h"
#include "commands/dialog_commands.h"
#include "controls/html_viewer_commands.h"

namespace velmora::app {

void AppendToLog(std::initializer_list<const char*> texts) {
    std::vector<ValueRecord> records{ControlOf(tag::kEditBox, kLogBox)};
    for (const char* text : texts) records.push_back(TextArg(text));
    Entries().CallCoreCommand(commands::AddText, static_cast<int>(records.size()), records.data());
}

void ShowInformation(const char* message) {
    CallCore(commands::MessageBox, {TextArg(message), MakeInteger(0)});
}

void NavigateBrowser(uint32_t browser, const char* address) {
    CallLibrary(kBrowserLibrary, controls::Navigate,
                {ControlOf(tag::kHtmlViewer, browser), TextArg(address)});
}

}  // namespace velmora::app
