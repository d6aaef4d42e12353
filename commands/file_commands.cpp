#include "commands/file_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/command_arguments.h"
#include "runtime/data_location.h"
#include "runtime/file_attributes.h"
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

// A symbolic link is written through, as the file it names.
std::string ResolveLink(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A new, exclusive file in the target's folder; -1 when the folder is missing
// or refuses. The dot keeps it out of ordinary listings for its short life.
int CreateSibling(const std::string& target, std::string* siblingPath) {
    static unsigned counter = 0;
    PathParts parts = SplitNativePath(target);
    std::string stem = (parts.directory == "/" ? "/" : parts.directory + "/") + "." + parts.name +
                       ".velmora-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *siblingPath = stem + std::to_string(++counter);
        int fd = open(siblingPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The byte sets from argument 1 on, one after another.
bool ReplaceWith(const std::string& target, const CommandArguments& arg) {
    std::optional<uint32_t> existing = ReadFileAttributes(target);
    // A folder or a read-only file cannot be opened for writing.
    if (existing && (*existing & (attribute::kDirectory | attribute::kReadOnly))) return false;
    std::string sibling;
    int fd = CreateSibling(target, &sibling);
    if (fd < 0) return false;
    bool ok = !existing || CarryAttributes(target, fd);
    for (int i = 1; ok && i < arg.Count(); ++i) {
        const void* block = arg[i].Pointer();
        ok = WriteAll(fd, ByteSetData(block), ByteSetLength(block));
    }
    // The bytes must be on the disk before the name moves over to them.
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(sibling.c_str(), target.c_str()) == 0;
    if (!ok) unlink(sibling.c_str());
    return ok;
}

}  // namespace

void ProgramDirectory(ValueRecord* result, int, ValueRecord*) {
    result->SetBits(reinterpret_cast<uintptr_t>(CopyText(ProgramLocation().directory.c_str())));
}

void DataDirectory(ValueRecord* result, int, ValueRecord*) {
    result->SetBits(reinterpret_cast<uintptr_t>(CopyText(ProgramDataDirectory().c_str())));
}

void FileExists(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    SetLogical(result, arg.Count() > 0 && AnyFileMatches(arg[0].Text()));
}

void MakeDirectory(ValueRecord* result, int count, ValueRecord* args) {
    std::optional<std::string> path = PathArgument({count, args}, 0);
    SetLogical(result, path && mkdir(path->c_str(), 0777) == 0);
}

void RemoveFile(ValueRecord* result, int count, ValueRecord* args) {
    std::optional<std::string> path = PathArgument({count, args}, 0);
    if (!path) return SetLogical(result, false);
    struct stat st;
    if (lstat(path->c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return SetLogical(result, false);
    std::optional<uint32_t> attributes = ReadFileAttributes(*path);
    if (attributes && (*attributes & attribute::kReadOnly)) return SetLogical(result, false);
    SetLogical(result, unlink(path->c_str()) == 0);
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
    SetLogical(result, ReplaceWith(ResolveLink(*path), arg));
}

}  // namespace velmora::commands
