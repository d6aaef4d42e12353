// The process-wide table of window descriptions, keyed by window identifier:
// filled once at start-up and kept until the process ends.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/window_description.h"

namespace velmora {

void InstallWindowDescriptions(std::vector<WindowRecord> windows);
std::vector<WindowRecord>& WindowDescriptions();
WindowRecord* FindWindowDescription(uint32_t windowId);

}  // namespace velmora
