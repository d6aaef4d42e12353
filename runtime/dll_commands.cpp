#include "runtime/dll_commands.h"

#include <vector>

#include "runtime/foreign_call.h"
#include "runtime/gbk.h"
#include "runtime/library_loader.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"

namespace velmora {
namespace {

// GBK to UTF-8 first, and only then '\' to '/': a GBK trail byte can be 0x5C.
std::string FileSystemName(const std::string& gbk) {
    std::string name = GbkToUtf8(gbk).value_or(gbk);
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

bool HasOwnDirectory(const std::string& name) {
    return name.find(':') != std::string::npos || (!name.empty() && name[0] == '/');
}

[[noreturn]] void ExportNotFound(const DllCommand& command) {
    if (command.fileName.empty())
        FatalRuntimeMessage(FormatText(texts::kExportMissing, command.functionName.c_str()));
    FatalRuntimeMessage(FormatText(texts::kFileExportMissing, command.fileName.c_str(),
                                   command.functionName.c_str()));
}

}  // namespace

std::vector<std::string> DllSearchPlaces(const std::string& fileName) {
    const RuntimeState& state = State();
    if (HasOwnDirectory(FileSystemName(fileName))) return {fileName};
    std::vector<std::string> places;
    // An empty directory turns the name into one at the root: right for a
    // program in the root folder, wrong for a directory nobody set.
    bool programKnown = !state.programDirectory.empty() || state.programNativeDirectory == "/";
    if (!state.dllDirectory.empty()) places.push_back(state.dllDirectory + "\\" + fileName);
    if (programKnown) places.push_back(state.programDirectory + "\\" + fileName);
    if (!state.programDirectoryWithSeparator.empty())
        places.push_back(state.programDirectoryWithSeparator + fileName);
    places.push_back(fileName);
    return places;
}

void PrepareDllCommands(const ProgramHeader& header) {
    std::vector<DllCommand>& commands = State().dllCommands;
    commands.assign(header.dllCommandCount, DllCommand{});
    for (uint32_t i = 0; i < header.dllCommandCount; ++i) {
        commands[i].fileName = header.dllFileNames[i] ? header.dllFileNames[i] : "";
        commands[i].functionName = header.dllFunctionNames[i] ? header.dllFunctionNames[i] : "";
    }
}

void* ResolveDllCommand(int index) {
    std::vector<DllCommand>& commands = State().dllCommands;
    // The program only passes indices of its own table; anything else is no command at all.
    if (index < 0 || static_cast<size_t>(index) >= commands.size())
        FatalRuntimeMessage(FormatText(texts::kExportMissing, ""));
    DllCommand& command = commands[static_cast<size_t>(index)];
    if (command.address) return command.address;

    void* module = nullptr;
    void* address = nullptr;
    if (command.fileName.empty()) {
        for (const char* library : SystemLibraries()) {
            module = LoadLibraryFile(library);
            if (!module) continue;
            address = FindExport(module, command.functionName);
            if (address) break;
            FreeLibraryFile(module);
            module = nullptr;
        }
    } else {
        for (const std::string& place : DllSearchPlaces(command.fileName))
            if ((module = LoadLibraryFile(FileSystemName(place)))) break;
        if (module) address = FindExport(module, command.functionName);
    }
    if (!address) {
        if (module) FreeLibraryFile(module);
        ExportNotFound(command);
    }
    command.module = module;
    command.address = address;
    return address;
}

uint64_t CallDllCommand(int index, int argumentCount, const uint64_t* arguments) {
    void* function = ResolveDllCommand(index);
    size_t count = argumentCount > 0 ? static_cast<size_t>(argumentCount) : 0;
    ForeignCallResult result = CallForeign(function, arguments, count);
    if (result.stackDrift != 0) RaiseRuntimeError(kErrorStackChanged);
    return result.value;
}

void SetDllSearchDirectory(const std::string& gbkDirectory) {
    State().dllDirectory = gbkDirectory;
}

void ReleaseDllCommands() {
    for (DllCommand& command : State().dllCommands)
        if (command.module) FreeLibraryFile(command.module);
    State().dllCommands.clear();
}

}  // namespace velmora
