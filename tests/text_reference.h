// Plain, slow references for the text commands' searching and cutting, written
// step by step the way the commands are described, for tests and fuzzing to
// compare the fast implementations against.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace velmora::testing {

inline char FoldLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// 0-based offset of the first match at a character boundary at or after
// `from`, or -1. Follows the character stepping literally.
inline long ReferenceFind(const std::string& text, const std::string& sought, size_t from,
                          bool foldCase = false) {
    if (from >= text.size()) return -1;
    if (sought.empty()) return 0;
    for (size_t p = from; text.size() - p >= sought.size();) {
        bool same = true;
        for (size_t i = 0; same && i < sought.size(); ++i)
            same = foldCase ? FoldLetter(text[p + i]) == FoldLetter(sought[i])
                            : text[p + i] == sought[i];
        if (same) return long(p);
        if (static_cast<unsigned char>(text[p]) & 0x80) {
            if (p + 1 == text.size()) break;
            p += 2;
        } else {
            p += 1;
        }
    }
    return -1;
}

// Every exact occurrence replaced, scanning on behind each replacement.
inline std::string ReferenceReplaceAll(const std::string& text, const std::string& sought,
                                       const std::string& replacement) {
    if (sought.empty()) return text;
    std::string out;
    size_t p = 0;
    for (long at; (at = ReferenceFind(text, sought, p)) >= 0; p = size_t(at) + sought.size())
        out += text.substr(p, size_t(at) - p) + replacement;
    return out + text.substr(p);
}

// The cut-out helper as described: find the start marker, copy the whole
// remainder, find the end marker in the copy, cut before it.
inline std::string ReferenceTextBetween(const std::string& source, const std::string& start,
                                        const std::string& end, int startPosition) {
    long n = long(source.size());
    long from = std::max(long(startPosition) - 1, 0L);
    long found = ReferenceFind(source, start, size_t(from));
    long p = found < 0 ? -1 : found + 1;
    long q = p + long(start.size());
    std::string rest = (q < 1 || q > n) ? std::string() : source.substr(size_t(q - 1));
    long e = ReferenceFind(rest, end, 0);
    return e < 1 ? std::string() : rest.substr(0, size_t(e));
}

}  // namespace velmora::testing
