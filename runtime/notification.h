// The runtime's notification entry: how libraries and controls call back into
// the runtime with a numbered request and two words.
#pragma once

#include <cstdint>

namespace velmora {

enum RuntimeNotification : int {
    kNotifyWindowDescriptions = 1001,  // -> the table of window descriptions
    kNotifyFindDataType = 1002,        // type number -> its data-type entry, or null
    kNotifyWindowDestroyed = 2000,     // window id -> 0
    kNotifyProgramDirectory = 2003,    // -> the runtime's own text, not to be freed
    kNotifyFindLiveObject = 2006,      // window id, unit id -> the live object, or null
    kNotifyFindControl = 2007,         // window id, control id -> the control's window object
    kNotifyDeliverEvent = 2008,        // event record -> whether a handler ran, and its result
    kNotifySuppressEvents = 2009,      // raise the event-suppression counter
    kNotifyAllowEvents = 2010,         // lower it, never below 0
    kNotifyProcessMessages = 2018,     // -> 0
    kNotifyAllocate = 2024,            // size, may-fail flag -> block
    kNotifyFree = 2025,                // block -> 0
    kNotifyDeliverTypedEvent = 2031,   // typed event record -> whether a handler ran
    // Our own: sleep until an event arrives or word 1 milliseconds pass -> 0.
    kNotifyWaitForMessages = 2100,
};

// Requests the runtime sends to a library's notification routine.
enum LibraryNotification : int {
    kLibraryStart = 1,   // word 1: the runtime's notification entry
    kLibraryEnding = 6,  // word 1: the library's data word
};

using NotificationRoutine = intptr_t (*)(int code, uintptr_t word1, uintptr_t word2);

intptr_t RuntimeNotify(int code, uintptr_t word1, uintptr_t word2);

}  // namespace velmora
