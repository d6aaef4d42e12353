// The internet library's page reader: a plain GET of an http or https address
// whose body comes back as a byte set, whatever the status.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/value.h"

namespace velmora::net {

// Internet library command: address (text) -> byte set of the body read,
// null when nothing was read. A failure after some bytes keeps those bytes,
// except when the answer was refused (over the body cap, or redirected away
// from http and https): then nothing is kept.
void ReadWebPage(ValueRecord* result, int count, ValueRecord* args);

// How much of the body one read takes, from the Content-Length header value:
// 10240 when it is missing, unreadable or not positive; else length + 1 (so
// the closing empty read fits the same pass), at most 102400.
size_t ReadPieceSize(const std::string* contentLength);

}  // namespace velmora::net
