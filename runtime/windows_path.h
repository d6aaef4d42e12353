// Windows path rules on every system. The program names files with GBK texts
// that may use '\' or '/' as separators; native paths are UTF-8 with '/'
// everywhere, Windows included, where the wide calls take them (wide_text.h).
//
// The GBK text is converted to UTF-8 before any separator is touched: the
// second byte of a GBK character can be 0x5C, the code of '\', and a
// byte-level replace would cut that character in two.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The file system's path for a GBK path; nullopt when the text is not GBK.
std::optional<std::string> NativePath(std::string_view gbkPath);

// Whether an address names a file on the disk: absolute ("/", "\", and
// where the system has drives "C:\" or "C:/"), or
// relative to the current folder ("./", "../", with either separator), which
// is where the program's own files are when GBK cannot spell its folder.
// Reaches nothing an absolute path does not; every other address, whatever
// its scheme, is not a path. ASCII tests, so GBK and UTF-8 alike.
bool IsDiskPath(std::string_view address);

// A name read from the disk as GBK; nullopt when GBK cannot hold it, so that
// it is never turned into a different name that may also exist.
std::optional<std::string> NativeNameToGbk(std::string_view nativeName);

// A native path cut at its last '/': "a/b" -> {"a", "b"}, "b" -> {".", "b"},
// "/b" -> {"/", "b"}, "a/" -> {"a", ""}.
struct PathParts {
    std::string directory;
    std::string name;
};
PathParts SplitNativePath(std::string_view nativePath);

bool HasWildcards(std::string_view name);

// Whether a UTF-8 name matches a UTF-8 pattern the way Windows matches one:
// '*' any run of characters, '?' one character, ASCII letters in either case,
// a trailing ".*" also matches names without an extension ("*.*" matches
// every name), and a trailing '.' matches names without any dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace velmora
