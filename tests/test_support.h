// Helpers shared by the test suites.
#pragma once

#include <string>

#include "runtime/gbk.h"

namespace velmora::testing {

// The GBK bytes of a UTF-8 literal; tests write their Chinese texts readably.
inline std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8).value();
}

}  // namespace velmora::testing
