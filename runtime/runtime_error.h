// Fatal runtime errors: the report, then the program ends with exit code -1.
#pragma once

#include <string>

namespace velmora {

// Reports a fatal condition given as a GBK message and ends the program.
[[noreturn]] void FatalRuntimeMessage(const std::string& gbkMessage);

}  // namespace velmora
