#include "commands/core_library.h"

#include <iterator>

#include "commands/automation_commands.h"
#include "commands/control_commands.h"
#include "commands/delay_command.h"
#include "commands/dialog_commands.h"
#include "commands/file_commands.h"
#include "commands/text_commands.h"
#include "controls/core_types.h"
#include "runtime/runtime_link.h"

namespace velmora::commands {
namespace {

// The commands the program calls from this library.
const CommandRoutine commandTable[] = {
    TextLength,
    LeftText,
    RightText,
    MiddleText,
    FindText,
    ReplaceText,
    SplitText,
    ToNumber,
    ToText,
    ToByteSet,
    ByteSetLength,
    ProgramDirectory,
    FileExists,
    MakeDirectory,
    RemoveFile,
    ChangeFileAttributes,
    WriteToFile,
    MessageBox,
    Delay,
    AddText,
    ComboBoxGetItemText,
    ListBoxGetItemText,
    SelectItem,
    AddItem,
    ClearItems,
    CreateAutomationObject,
    CallObjectMethod,
    ReadObjectProperty,
    VariantToByteSet,
    ClearVariant,
    ReleaseObject,
    DataDirectory,
    LibraryDirectory,
};
static_assert(std::size(commandTable) == 33);

const LibraryRecord record{
    .identifier = "9B8B9567936A2A055F80B6205198171A",
    .majorVersion = 5,
    .minorVersion = 0,
    .buildNumber = 64,
    .minRuntimeMajor = 3,
    .minRuntimeMinor = 7,
    .minCompilerMajor = 3,
    .minCompilerMinor = 7,
    .name = "系统核心支持库",
    .flags = 0xC0000001,
    .dataTypeCount = controls::kCoreTypeCount,
    .dataTypes = controls::CoreDataTypes().data(),
    .commandCount = std::size(commandTable),
    .commands = commandTable,
    .notify = LibraryNotify,
};

}  // namespace

const LibraryRecord& CoreLibrary() {
    return record;
}

}  // namespace velmora::commands
