// The file search behind runtime services 0 (find file) and 1 (end a find).
//
// A search handle is a word the caller keeps: 0 means no search. Names come
// back bare (no directory part) as fresh GBK texts; "." and ".." come back
// first, like any other directory, then the rest in name order. Names that GBK
// cannot hold are not seen at all.
#pragma once

#include <cstdint>

namespace velmora {

// A non-empty pattern starts a new search (closing the one in *handle
// first); a null or empty pattern continues the search in *handle. The
// result is the next accepted name, or null once the search is over, when
// *handle has been closed and set to 0.
//
// Acceptance: with filesOnly, every entry that is not a directory; otherwise
// with a mask (ANDed with 0x37), entries sharing a bit with it; with a zero
// mask, only entries whose attribute word is 0.
char* FindFile(const char* gbkPattern, uint32_t attributeMask, bool filesOnly, uintptr_t* handle);

// Closes a search; 0 is ignored. The caller clears its word.
void EndFind(uintptr_t handle);

// Whether anything at all matches a GBK path that may hold wildcards.
bool AnyFileMatches(const char* gbkPattern);

}  // namespace velmora
