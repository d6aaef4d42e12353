#include "runtime/message_loop.h"

#include "runtime/runtime_host.h"
#include "runtime/runtime_state.h"
#include "runtime/window_layer.h"

namespace velmora {
namespace {

bool AnyWindowAlive() {
    const RuntimeState& state = State();
    return state.windows && state.windows->AnyWindowAlive();
}

}  // namespace

void RunMessageLoop() {
    RuntimeState& state = State();
    state.messageLoopStarted = true;
    if (!state.host || !AnyWindowAlive()) return;
    state.host->RunMessageLoop();
}

void WindowDestroyed(uint32_t /*windowId*/) {
    RuntimeState& state = State();
    if (state.messageLoopStarted && state.host && !AnyWindowAlive()) state.host->QuitMessageLoop();
}

}  // namespace velmora
