// Event dispatch: controls fill an event record and hand it to the runtime,
// which finds the handler bound to (window, unit, event), calls it with the
// record's arguments and stores its result in the record.
#pragma once

#include <cstdint>

#include "runtime/event_handler.h"

namespace velmora {

// Built by the control on its stack; 44 bytes.
struct SimpleEventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0;  // the window's own unit for window events; 0 means the same
    int32_t event = 0;
    uint32_t argumentCount = 0;  // 0-5
    uint32_t arguments[5] = {};
    uint32_t returned = 0;  // set to 1 when the handler returned a result
    uint32_t result = 0;
};
static_assert(sizeof(SimpleEventRecord) == 44);

// Argument flags of the typed record.
inline constexpr uint32_t kArgumentByReference = 0x1;
inline constexpr uint32_t kArgumentEightBytes = 0x2;

#pragma pack(push, 4)
struct TypedEventArgument {
    uint64_t value = 0;
    uint32_t tag = 0;
    uint32_t flags = 0;
};
// For events with wider or typed arguments; 220 bytes.
struct TypedEventRecord {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    int32_t event = 0;
    uint32_t argumentCount = 0;  // 0-12
    TypedEventArgument arguments[kMaxHandlerArguments] = {};
    uint32_t returned = 0;
    uint64_t result = 0;
};
#pragma pack(pop)
static_assert(sizeof(TypedEventRecord) == 220);

// The window type's events, which the loader raises too. Each control type
// names its own beside its interface routine.
enum WindowEvent : int32_t {
    kWindowCreated = 0,
    kWindowCloseRequest = 1,
    kWindowDestroyed = 2,
    kWindowMoved = 3,
    kWindowResized = 4,
};
// Events every control type raises.
inline constexpr int32_t kEventGotFocus = -7;
inline constexpr int32_t kEventLostFocus = -8;

// Both answer true when a handler ran. An unknown window or unit, or a unit
// whose type cannot raise events, is a fatal runtime error.
bool DispatchEvent(SimpleEventRecord& record);
bool DispatchEvent(TypedEventRecord& record);

// Whether a control may go on with the default action an event asks about:
// only a handler that ran and returned 0 refuses it.
bool DefaultActionAllowed(bool handlerRan, const SimpleEventRecord& record);

// The suppression counter: while above 0, events reach no handler. A fatal
// runtime error and shutdown raise it for good.
void RaiseEventSuppression();
void LowerEventSuppression();  // never below 0
bool EventsSuppressed();

// Which unit raised the event whose handler is running; both 0 when none.
struct EventSource {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
};
EventSource CurrentEventSource();

// How a typed argument reaches the handler's 64-bit slot.
uint64_t PassedArgument(const TypedEventArgument& argument);

}  // namespace velmora
