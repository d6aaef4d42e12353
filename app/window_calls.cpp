#include "app/window_calls.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/control_commands.h"
#include "commands/dialog_commands.h"
#include "commands/text_commands.h"
#include "controls/html_viewer_commands.h"
#include "net/responsive_delay.h"
#include "runtime/file_replace.h"
#include "runtime/windows_path.h"

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

void ResponsiveWait(int milliseconds) {
    CallLibrary(kSpecialFunctionsLibrary, net::ResponsiveDelay, {MakeInteger(milliseconds)});
}

void BlockingDelay(int milliseconds) {
    CallCore(commands::Delay, {MakeInteger(milliseconds)});
}

bool WriteTextToFile(const char* path, const char* text) {
    std::optional<std::string> native = NativePath(path ? path : "");
    if (!native || native->empty()) return false;
    const std::string_view parts[] = {text ? text : ""};
    return ReplaceFileContents(*native, parts, LinkAtName::kReplace);
}

}  // namespace velmora::app
