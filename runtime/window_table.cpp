#include "runtime/window_table.h"

#include "runtime/runtime_error.h"
#include "runtime/runtime_texts.h"

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

void LoadWindowDescriptionBlock(std::span<const uint8_t> block, const HandlerTable& handlers) {
    if (block.empty()) {
        InstallWindowDescriptions({});
        return;
    }
    WindowBlockResult read = ReadWindowBlock(block);
    // An offset outside the handler table would be a call into nowhere: the
    // block is as unusable as one that cannot be read.
    if (!read.Ok() || !ResolveHandlers(read.windows, handlers))
        FatalRuntimeMessage(texts::kWindowBlockUnreadable);
    InstallWindowDescriptions(std::move(read.windows));
}

}  // namespace velmora
