#include "runtime/window_table.h"

namespace velmora {

std::vector<WindowRecord>& WindowDescriptions() {
    static std::vector<WindowRecord> windows;
    return windows;
}

void InstallWindowDescriptions(std::vector<WindowRecord> windows) {
    WindowDescriptions() = std::move(windows);
}

WindowRecord* FindWindowDescription(uint32_t windowId) {
    for (WindowRecord& w : WindowDescriptions())
        if (w.id == windowId) return &w;
    return nullptr;
}

}  // namespace velmora
