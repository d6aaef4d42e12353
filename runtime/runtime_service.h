// The RuntimeService slot: numbered services with their own arguments.
#pragma once

#include <cstdint>

namespace velmora {

uint64_t RuntimeService(int service, int argumentCount, const uint64_t* arguments);

}  // namespace velmora
