// Repairs the request heads that old-style clients send before the HTTP
// library parses them: the collector checks its login with the lower-case
// method "post" and sends body-less requests without any length header.
#pragma once

#include <string>
#include <string_view>

namespace velmora::marketsim {

// Takes one request head (request line and header lines, ending with the
// empty line) and returns it with the method in capitals and, for a request
// that names no body length, "Content-Length: 0" added: such a request has
// no body, and a server waiting for one would stall until its time-out.
// A head it cannot make sense of is returned unchanged.
std::string NormalizeRequestHead(std::string_view head);

// Length of the request head at the start of `bytes` (through the empty line),
// or 0 while the empty line has not arrived yet.
size_t RequestHeadLength(std::string_view bytes);

}  // namespace velmora::marketsim
