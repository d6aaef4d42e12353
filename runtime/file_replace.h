// A file's whole contents replaced at once: the bytes go to a new file beside
// the target, reach the disk, and then the new file is renamed over the name,
// so a failure at any point leaves the old file as it was.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace velmora {

// What a symbolic link at the target's name means.
enum class LinkAtName {
    kFollow,   // the file it names is the one replaced, and keeps its attributes
    kReplace,  // the link itself gives way to a new file; what it names is untouched
};

// The file at the native path now holds exactly the parts, one after another.
// A file that exists keeps its permissions and stored attributes; a folder or
// a read-only file refuses. False when anything failed, with errno saying why.
bool ReplaceFileContents(const std::string& nativePath, std::span<const std::string_view> parts,
                         LinkAtName link);

// A file for its owner's eyes alone (settings holding a secret, the cookie
// jar): a link at the name gives way, and the new file is readable and
// writable by its owner only, whatever stood there before.
bool ReplacePrivateFile(const std::string& nativePath, std::string_view bytes);

}  // namespace velmora
