// The POSIX side of the file replace: an exclusive sibling, fsync, rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "runtime/file_attributes.h"
#include "runtime/file_replace.h"
#include "runtime/file_replace_system.h"
#include "runtime/windows_path.h"

namespace velmora {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// A new, exclusive file in the target's folder; -1 when the folder is missing
// or refuses. The dot keeps it out of ordinary listings for its short life.
int CreateSibling(const std::string& target, mode_t mode, std::string* siblingPath) {
    static unsigned counter = 0;
    PathParts parts = SplitNativePath(target);
    std::string stem = (parts.directory == "/" ? "/" : parts.directory + "/") + "." + parts.name +
                       ".velmora-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        *siblingPath = stem + std::to_string(++counter);
        int fd =
            open(siblingPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The sibling, once written and on the disk, takes the target's name; rename
// never follows a link at its new name: the link itself is replaced.
bool MoveIntoPlace(int fd, const std::string& sibling, const std::string& target,
                   std::span<const std::string_view> parts, bool ok) {
    for (size_t i = 0; ok && i < parts.size(); ++i) ok = WriteAll(fd, parts[i]);
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(sibling.c_str(), target.c_str()) == 0;
    if (!ok) unlink(sibling.c_str());
    return ok;
}

}  // namespace

bool IsLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string ResolveLink(const std::string& path) {
    if (!IsLink(path)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool WriteIntoPlace(const std::string& target, std::span<const std::string_view> parts,
                    std::optional<uint32_t> kept) {
    std::string sibling;
    int fd = CreateSibling(target, 0666, &sibling);
    if (fd < 0) return false;
    return MoveIntoPlace(fd, sibling, target, parts, !kept || CarryAttributes(target, fd));
}

bool ReplacePrivateFile(const std::string& nativePath, std::string_view bytes) {
    std::string sibling;
    int fd = CreateSibling(nativePath, 0600, &sibling);
    if (fd < 0) return false;
    const std::string_view parts[] = {bytes};
    return MoveIntoPlace(fd, sibling, nativePath, parts, fchmod(fd, 0600) == 0);
}

}  // namespace velmora
