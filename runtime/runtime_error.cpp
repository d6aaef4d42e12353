#include "runtime/runtime_error.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/gbk.h"
#include "runtime/runtime_texts.h"

namespace velmora {

void FatalRuntimeMessage(const std::string& gbkMessage) {
    std::string report = std::string(texts::kRuntimeErrorHeading) + "\n" + gbkMessage;
    std::fprintf(stderr, "%s\n", GbkToUtf8Lossy(report).c_str());
    std::fflush(stderr);
    std::_Exit(-1);
}

}  // namespace velmora
