#include "commands/file_commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/file_commands_system.h"
#include "runtime/command_arguments.h"
#include "runtime/data_location.h"
#include "runtime/file_attributes.h"
#include "runtime/file_replace.h"
#include "runtime/file_search.h"
#include "runtime/heap.h"
#include "runtime/program_location.h"
#include "runtime/windows_path.h"

namespace velmora::commands {
namespace {

// The native form of a text argument; nullopt when missing, empty or not GBK.
std::optional<std::string> PathArgument(const CommandArguments& arg, int index) {
    if (!arg.Given(index)) return std::nullopt;
    std::optional<std::string> path = NativePath(arg[index].Text());
    if (!path || path->empty()) return std::nullopt;
    return path;
}

void SetLogical(ValueRecord* result, bool value) {
    result->low = value ? 1 : 0;
}

}  // namespace

void ProgramDirectory(ValueRecord* result, int, ValueRecord*) {
    result->SetBits(reinterpret_cast<uintptr_t>(CopyText(ProgramLocation().directory.c_str())));
}

void DataDirectory(ValueRecord* result, int, ValueRecord*) {
    result->SetBits(reinterpret_cast<uintptr_t>(CopyText(ProgramDataDirectory().c_str())));
}

void LibraryDirectory(ValueRecord* result, int, ValueRecord*) {
    result->SetBits(reinterpret_cast<uintptr_t>(CopyText(ProgramLibraryDirectory().c_str())));
}

void FileExists(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    SetLogical(result, arg.Count() > 0 && AnyFileMatches(arg[0].Text()));
}

void MakeDirectory(ValueRecord* result, int count, ValueRecord* args) {
    std::optional<std::string> path = PathArgument({count, args}, 0);
    SetLogical(result, path && MakeFolder(*path));
}

void RemoveFile(ValueRecord* result, int count, ValueRecord* args) {
    std::optional<std::string> path = PathArgument({count, args}, 0);
    if (!path) return SetLogical(result, false);
    if (EntryIsFolder(*path).value_or(true)) return SetLogical(result, false);
    std::optional<uint32_t> attributes = ReadFileAttributes(*path);
    if (attributes && (*attributes & attribute::kReadOnly)) return SetLogical(result, false);
    SetLogical(result, RemoveEntry(*path));
}

void ChangeFileAttributes(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    std::optional<std::string> path = PathArgument(arg, 0);
    const uint32_t attributes = arg[1].low;
    SetLogical(result, path && WriteFileAttributes(*path, attributes & attribute::kSettable));
}

void WriteToFile(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    std::optional<std::string> path = PathArgument(arg, 0);
    if (!path) return SetLogical(result, false);
    // Only byte sets are written; anything else would be guesswork about its bytes.
    for (int i = 1; i < arg.Count(); ++i) {
        if (arg[i].BaseTag() != tag::kByteSet) return SetLogical(result, false);
    }
    std::vector<std::string_view> parts;
    for (int i = 1; i < arg.Count(); ++i) {
        const void* block = arg[i].Pointer();
        parts.emplace_back(reinterpret_cast<const char*>(ByteSetData(block)), ByteSetLength(block));
    }
    // A symbolic link is written through, as the file it names.
    SetLogical(result, ReplaceFileContents(*path, parts, LinkAtName::kFollow));
}

}  // namespace velmora::commands
