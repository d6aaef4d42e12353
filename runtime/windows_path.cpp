#include "runtime/windows_path.h"

#include <algorithm>

#include "runtime/data_location.h"
#include "runtime/gbk.h"

namespace velmora {
namespace {

// UTF-8 to code points; nullopt for malformed input, which then matches nothing.
std::optional<std::u32string> DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80           ? 1
                   : (c >> 5) == 0x6  ? 2
                   : (c >> 4) == 0xE  ? 3
                   : (c >> 3) == 0x1E ? 4
                                      : 0;
        if (n == 0 || i + n > s.size()) return std::nullopt;
        char32_t cp = n == 1 ? c : c & (0xFF >> (n + 1));
        for (size_t k = 1; k < n; ++k) {
            auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (t & 0x3F);
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

char32_t FoldAscii(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

// '*' and '?' with backtracking to the last star: linear for one star,
// bounded by pattern x name otherwise.
bool Glob(std::u32string_view p, std::u32string_view n) {
    size_t pi = 0, ni = 0;
    size_t starP = std::u32string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && p[pi] == U'*') {
            starP = pi++;
            starN = ni;
        } else if (pi < p.size() && (p[pi] == U'?' || FoldAscii(p[pi]) == FoldAscii(n[ni]))) {
            ++pi;
            ++ni;
        } else if (starP != std::u32string_view::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

}  // namespace

std::optional<std::string> NativePath(std::string_view gbkPath) {
    std::optional<std::string> path = GbkToUtf8(gbkPath);
    if (!path) return std::nullopt;
    std::replace(path->begin(), path->end(), '\\', '/');
    return path;
}

bool IsDiskPath(std::string_view address) {
    auto separatorAt = [address](size_t i) {
        return i < address.size() && (address[i] == '/' || address[i] == '\\');
    };
    const size_t dots = address.starts_with("..") ? 2 : address.starts_with('.') ? 1 : 0;
    if (separatorAt(dots)) return true;
    // A drive's path ("C:\", "C:/") on a system with drives.
    std::string start(address.substr(0, 3));
    std::replace(start.begin(), start.end(), '\\', '/');
    return start.size() == 3 && IsAbsoluteNativePath(start);
}

std::optional<std::string> NativeNameToGbk(std::string_view nativeName) {
    return Utf8ToGbk(nativeName);
}

PathParts SplitNativePath(std::string_view nativePath) {
    size_t slash = nativePath.rfind('/');
    if (slash == std::string_view::npos) return {".", std::string(nativePath)};
    std::string directory(nativePath.substr(0, slash == 0 ? 1 : slash));
    return {directory, std::string(nativePath.substr(slash + 1))};
}

bool HasWildcards(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    std::optional<std::u32string> p = DecodeUtf8(pattern);
    std::optional<std::u32string> n = DecodeUtf8(name);
    if (!p || !n) return false;
    std::u32string_view pv = *p;
    if (Glob(pv, *n)) return true;
    if (pv.size() >= 2 && pv.substr(pv.size() - 2) == U".*" &&
        Glob(pv.substr(0, pv.size() - 2), *n))
        return true;
    return !pv.empty() && pv.back() == U'.' && n->find(U'.') == std::u32string::npos &&
           Glob(pv.substr(0, pv.size() - 1), *n);
}

}  // namespace velmora
