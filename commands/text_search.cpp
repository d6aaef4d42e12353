#include "commands/text_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "commands/c_library.h"

namespace velmora::commands {
namespace {

// A zero-terminated text is measured in steps that grow with what is already
// measured, so a search measures at most about twice what it walks; the cap
// keeps each step in cache for the search that follows it.
constexpr size_t kSmallestStep = 4096;
constexpr size_t kLargestStep = 64 * 1024;

bool StartsCharacter(char byte) {
    return (static_cast<uint8_t>(byte) & 0x80) != 0;
}

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualFolded(const char* at, std::string_view sought) {
    for (size_t i = 0; i < sought.size(); ++i)
        if (FoldCase(at[i]) != FoldCase(sought[i])) return false;
    return true;
}

}  // namespace

TextScanner::TextScanner(std::string_view text)
    : text_(text.data()), measured_(text.size()), complete_(true) {}

TextScanner::TextScanner(const char* text) : text_(text), measured_(0), complete_(false) {}

bool TextScanner::Available(size_t offset, size_t count) {
    if (offset + count <= measured_) return true;
    Measure(offset + count);
    return offset + count <= measured_;
}

void TextScanner::Measure(size_t wanted) {
    if (complete_) return;
    size_t step = std::clamp(measured_, kSmallestStep, kLargestStep);
    size_t target = std::max(wanted, measured_ + step);
    size_t found = strnlen(text_ + measured_, target - measured_);
    measured_ += found;
    if (measured_ < target) complete_ = true;
}

size_t TextScanner::Length() {
    if (!complete_) {
        measured_ += std::strlen(text_ + measured_);
        complete_ = true;
    }
    return measured_;
}

size_t TextScanner::Find(size_t from, std::string_view sought, bool foldCase) {
    if (sought.empty()) return kNotFound;
    return foldCase ? FindFolded(from, sought) : FindExact(from, sought);
}

// Candidates come from a byte search, which ignores characters; each is then checked
// against the last offset known to start a character.
size_t TextScanner::FindExact(size_t from, std::string_view sought) {
    const size_t m = sought.size();
    size_t boundary = from;
    size_t pos = from;
    while (Available(pos, m)) {
        const void* hit = FindBytes(text_ + pos, measured_ - pos, sought.data(), m);
        if (!hit) {
            if (complete_) return kNotFound;
            // Only a match reaching past what is measured can still come.
            pos = measured_ - m + 1;
            Measure(measured_ + 1);
            continue;
        }
        size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text_);
        if (IsBoundary(boundary, at)) return at;
        // `at` is the second byte of a character, so a character starts after it.
        boundary = pos = at + 1;
    }
    return kNotFound;
}

size_t TextScanner::FindFolded(size_t from, std::string_view sought) {
    const size_t m = sought.size();
    for (size_t p = from; Available(p, m); p += StartsCharacter(text_[p]) ? 2 : 1)
        if (EqualFolded(text_ + p, sought)) return p;
    return kNotFound;
}

// A byte below 0x80 is either a whole character or the second byte of one, so
// the byte after it always starts a character. Between that byte (or the known
// boundary) and `offset` every byte has its top bit set and the characters
// there are pairs, so parity decides. The walk back never passes the known
// boundary, and the caller moves that boundary past `offset` afterwards.
bool TextScanner::IsBoundary(size_t knownBoundary, size_t offset) const {
    size_t k = offset;
    while (k > knownBoundary && StartsCharacter(text_[k - 1])) --k;
    return (offset - k) % 2 == 0;
}

}  // namespace velmora::commands
