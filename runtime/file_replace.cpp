// The rules every system's file replace follows; the writing itself is the
// system's (file_replace_system.h).
#include "runtime/file_replace.h"

#include <cerrno>
#include <optional>

#include "runtime/file_attributes.h"
#include "runtime/file_replace_system.h"

namespace velmora {

bool ReplaceFileContents(const std::string& nativePath, std::span<const std::string_view> parts,
                         LinkAtName link) {
    const std::string target = link == LinkAtName::kFollow ? ResolveLink(nativePath) : nativePath;
    // A link that gives way is no file of ours: nothing of what it names is read or carried.
    std::optional<uint32_t> existing =
        link == LinkAtName::kReplace && IsLink(target) ? std::nullopt : ReadFileAttributes(target);
    // A folder or a read-only file cannot be opened for writing; errno says
    // why, as it does for every other failure here.
    if (existing && (*existing & attribute::kDirectory)) return errno = EISDIR, false;
    if (existing && (*existing & attribute::kReadOnly)) return errno = EACCES, false;
    return WriteIntoPlace(target, parts, existing);
}

}  // namespace velmora
