#include "runtime/file_attributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>

namespace velmora {
namespace {

constexpr char kAttributeName[] = "user.velmora.attributes";

// Bits kept in the extended attribute for a file and for a directory.
uint32_t StoredMask(bool directory) {
    return directory ? attribute::kSettable : attribute::kSettable & ~attribute::kReadOnly;
}

uint32_t ReadStoredBits(const std::string& path) {
    unsigned char value = 0;
    ssize_t n = getxattr(path.c_str(), kAttributeName, &value, 1);
    return n == 1 ? value : 0;
}

bool WriteStoredBits(const std::string& path, uint32_t bits) {
    if (bits == 0) {
        // No extended attribute at all is the common case; only a real failure counts.
        return removexattr(path.c_str(), kAttributeName) == 0 || errno == ENODATA ||
               errno == ENOTSUP;
    }
    auto value = static_cast<unsigned char>(bits);
    return setxattr(path.c_str(), kAttributeName, &value, 1, 0) == 0;
}

}  // namespace

std::optional<uint32_t> ReadFileAttributes(const std::string& nativePath) {
    struct stat st;
    if (stat(nativePath.c_str(), &st) != 0) return std::nullopt;
    const bool directory = S_ISDIR(st.st_mode);
    uint32_t bits = ReadStoredBits(nativePath) & StoredMask(directory);
    if (directory) bits |= attribute::kDirectory;
    if (!directory && (st.st_mode & 0222) == 0) bits |= attribute::kReadOnly;
    return bits;
}

bool WriteFileAttributes(const std::string& nativePath, uint32_t attributes) {
    struct stat st;
    if (stat(nativePath.c_str(), &st) != 0) return false;
    const bool directory = S_ISDIR(st.st_mode);
    attributes &= attribute::kSettable;
    if (!directory) {
        mode_t mode = st.st_mode & 07777;
        mode = (attributes & attribute::kReadOnly) ? mode & ~mode_t(0222) : mode | S_IWUSR;
        if (mode != (st.st_mode & 07777) && chmod(nativePath.c_str(), mode) != 0) return false;
    }
    return WriteStoredBits(nativePath, attributes & StoredMask(directory));
}

bool CarryAttributes(const std::string& fromNativePath, int fd) {
    struct stat st;
    if (stat(fromNativePath.c_str(), &st) != 0) return true;  // nothing to carry
    if (fchmod(fd, st.st_mode & 07777) != 0) return false;
    unsigned char value = static_cast<unsigned char>(ReadStoredBits(fromNativePath));
    return value == 0 || fsetxattr(fd, kAttributeName, &value, 1, 0) == 0;
}

}  // namespace velmora
