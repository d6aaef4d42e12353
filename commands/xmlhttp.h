// The XMLHTTP automation class ("msxml2.xmlhttp") on libcurl. Requests are
// synchronous, carry the cookies of the process's cookie store and leave the
// ones they receive there, follow the environment's proxy settings and end
// after the request limits (net/http_client.h) like any other failure. An
// absolute local path as address ('/' or '\' first) reads that file instead.
//
// Members: open(method, url[, async, user, password]), setRequestHeader(name,
// value), send([body]), abort(), getResponseHeader(name),
// getAllResponseHeaders(), and the read-only properties status, statusText,
// responseBody (an array of bytes), responseText and readyState. A member
// used out of turn (send before open, a response before it arrived) raises
// an exception.
#pragma once

namespace velmora::commands {

class ClassRegistry;

inline constexpr char kXmlHttpProgId[] = "msxml2.xmlhttp";
inline constexpr char kXmlHttpClassId[] = "{5B1C7F3E-2A9D-4C61-9E0B-7D4A1F3C8E25}";

void RegisterXmlHttpClass(ClassRegistry& registry);

}  // namespace velmora::commands
