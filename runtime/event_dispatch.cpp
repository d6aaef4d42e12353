#include "runtime/event_dispatch.h"

#include <algorithm>

#include "runtime/data_type.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"
#include "runtime/value.h"
#include "runtime/window_layer.h"
#include "runtime/window_table.h"

namespace velmora {
namespace {

EventSource currentSource;

// The report raises the suppression counter for good before it shows
// anything, so no handler runs while its dialog pumps messages.
[[noreturn]] void FatalDispatchError(const char* message) {
    FatalRuntimeMessage(message);
}

// Steps 1-7 of finding a handler; null when the event reaches none.
HandlerRoutine FindHandler(uint32_t windowId, uint32_t unitId, int32_t event) {
    if (EventsSuppressed()) return nullptr;
    // A window that is not loaded has no controls that could have raised it.
    WindowRecord* window = FindWindowDescription(windowId);
    WindowLayer* layer = State().windows;
    if (!window || !layer || !layer->FindLiveObject(windowId, 0))
        FatalDispatchError(texts::kEventWindowMissing);
    const UnitRecord* unit = window->FindUnit(unitId);
    if (!unit) FatalDispatchError(texts::kEventUnitMissing);
    // Follow the event-source chain while it names another unit of the same
    // type. A chain that comes back on itself stops where it would repeat.
    for (size_t steps = 0; unit->eventSource != 0 && steps < window->units.size(); ++steps) {
        const UnitRecord* source = window->FindUnit(unit->eventSource);
        if (!source || source == unit || source->type != unit->type) break;
        unit = source;
    }
    const DataTypeEntry* type = FindDataType(unit->type);
    if (!type || !type->RaisesEvents()) FatalDispatchError(texts::kEventUnitInvalid);
    if (unit->IsMenuItem()) return unit->menuHandler.handler;
    const EventBinding* binding = unit->FindBinding(event);
    return binding ? binding->handler : nullptr;
}

// Runs the handler with the event's source recorded for its duration; a
// nested event's source lasts until its own handler returns.
HandlerResult Run(HandlerRoutine handler, uint32_t windowId, uint32_t unitId,
                  const HandlerCall& call) {
    EventSource outer = currentSource;
    const WindowRecord* window = FindWindowDescription(windowId);
    currentSource = {windowId, unitId != 0 ? unitId : window->units[0].id};
    HandlerResult result = handler(call);
    currentSource = outer;
    return result;
}

}  // namespace

void RaiseEventSuppression() {
    ++State().eventSuppression;
}

void LowerEventSuppression() {
    std::atomic<int>& counter = State().eventSuppression;
    int value = counter.load();
    while (value > 0 && !counter.compare_exchange_weak(value, value - 1)) {
    }
}

bool EventsSuppressed() {
    return State().eventSuppression.load() > 0;
}

EventSource CurrentEventSource() {
    return currentSource;
}

uint64_t PassedArgument(const TypedEventArgument& a) {
    uint32_t base = tag::Base(a.tag);
    // An address fills the whole slot on this platform.
    if (a.flags & kArgumentByReference) return a.value;
    if ((a.flags & kArgumentEightBytes) || a.tag == 0x00010003 || base == tag::kDateTime ||
        base == tag::kWide8 || base == tag::kLong || base == tag::kDouble)
        return a.value;
    if (base == tag::kByte) return a.value & 0xFF;
    if (base == tag::kShort)
        return static_cast<uint64_t>(static_cast<int64_t>(static_cast<int16_t>(a.value)));
    return a.value & 0xFFFFFFFF;
}

bool DispatchEvent(SimpleEventRecord& record) {
    HandlerRoutine handler = FindHandler(record.windowId, record.unitId, record.event);
    if (!handler) return false;
    HandlerCall call;
    call.argumentCount = static_cast<int>(std::min<uint32_t>(record.argumentCount, 5));
    for (int i = 0; i < call.argumentCount; ++i) call.arguments[i] = record.arguments[i];
    HandlerResult result = Run(handler, record.windowId, record.unitId, call);
    if (result.returned) {
        record.returned = 1;
        record.result = static_cast<uint32_t>(result.value);
    }
    return true;
}

bool DispatchEvent(TypedEventRecord& record) {
    HandlerRoutine handler = FindHandler(record.windowId, record.unitId, record.event);
    if (!handler) return false;
    HandlerCall call;
    call.argumentCount =
        static_cast<int>(std::min<uint32_t>(record.argumentCount, kMaxHandlerArguments));
    for (int i = 0; i < call.argumentCount; ++i)
        call.arguments[i] = PassedArgument(record.arguments[i]);
    HandlerResult result = Run(handler, record.windowId, record.unitId, call);
    if (result.returned) {
        record.returned = 1;
        record.result = result.value;
    }
    return true;
}

bool DefaultActionAllowed(bool handlerRan, const SimpleEventRecord& record) {
    return !(handlerRan && record.returned == 1 && record.result == 0);
}

}  // namespace velmora
