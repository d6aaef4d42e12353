// The collector's one way to read a page or a template file: one synchronous
// request through the XMLHTTP automation object, the body as GBK text.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

// address: an absolute URL or a local file path. method: null, empty, "get"
// and "GET" all mean "get"; anything else is passed on as written. body:
// null is the empty body. The result is the body up to its first zero byte,
// taken as GBK whatever charset it declares; the empty text on every failure.
Text FetchPage(const char* address, const char* method = nullptr, const char* body = nullptr);

}  // namespace velmora::app
