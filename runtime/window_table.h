// The process-wide table of window descriptions, keyed by window identifier:
// filled once at start-up and kept until the process ends.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "runtime/window_description.h"

namespace velmora {

void InstallWindowDescriptions(std::vector<WindowRecord> windows);
std::vector<WindowRecord>& WindowDescriptions();
WindowRecord* FindWindowDescription(uint32_t windowId);

// Start-up: read the block, resolve its handlers and install the records. A
// block that cannot be read, or that binds an offset outside the handler
// table, is the fatal "载入窗口模板数据段出错!"; an empty block installs no
// windows.
void LoadWindowDescriptionBlock(std::span<const uint8_t> block, const HandlerTable& handlers);

}  // namespace velmora
