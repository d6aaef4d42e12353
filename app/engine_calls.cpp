#include "app/engine_calls.h"

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "commands/delay_command.h"
#include "commands/file_commands.h"
#include "net/responsive_delay.h"
#include "runtime/file_replace.h"
#include "runtime/windows_path.h"

namespace velmora::app {

Text DataDirectory() {
    return TakeText(CallCore(commands::DataDirectory, {}));
}

void ResponsiveWait(int milliseconds) {
    CallLibrary(kSpecialFunctionsLibrary, net::ResponsiveDelay, {MakeInteger(milliseconds)});
}

void BlockingDelay(int milliseconds) {
    CallCore(commands::Delay, {MakeInteger(milliseconds)});
}

bool WriteTextToFile(const char* path, const char* text) {
    std::optional<std::string> native = NativePath(path ? path : "");
    if (!native || native->empty()) return errno = EINVAL, false;
    const std::string_view parts[] = {text ? text : ""};
    return ReplaceFileContents(*native, parts, LinkAtName::kReplace);
}

}  // namespace velmora::app
