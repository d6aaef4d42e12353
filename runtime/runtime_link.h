// How library code (commands, controls, the responsive wait) calls back into
// the runtime: one path for all of it. The libraries are linked into the
// program that carries the runtime, so until a runtime starts a library the
// path reaches that runtime's entry; a start (request 1) hands over the entry
// to use from then on, and a library's end (request 6) cuts the path, since
// nothing is left to answer.
#pragma once

#include <cstdint>

namespace velmora {

// Every library's notification routine. Requests other than 1 and 6 change nothing.
intptr_t LibraryNotify(int code, uintptr_t word1, uintptr_t word2);

// A numbered request to the runtime; 0 when the path is cut.
intptr_t CallRuntime(int code, uintptr_t word1 = 0, uintptr_t word2 = 0);
bool RuntimeReachable();

}  // namespace velmora
