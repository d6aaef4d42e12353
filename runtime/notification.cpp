#include "runtime/notification.h"

#include "runtime/data_type.h"
#include "runtime/event_dispatch.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/message_pump.h"
#include "runtime/program_location.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"
#include "runtime/window_layer.h"
#include "runtime/window_table.h"

namespace velmora {
namespace {

void* FindLiveObject(uintptr_t windowId, uintptr_t unitId) {
    WindowLayer* windows = State().windows;
    return windows ? windows->FindLiveObject(static_cast<uint32_t>(windowId),
                                             static_cast<uint32_t>(unitId))
                   : nullptr;
}

}  // namespace

intptr_t RuntimeNotify(int code, uintptr_t word1, uintptr_t word2) {
    switch (code) {
        case kNotifyProgramDirectory:
            return reinterpret_cast<intptr_t>(ProgramLocation().directory.c_str());
        case kNotifyProcessMessages:
            ProcessPendingMessages();
            return 0;
        case kNotifyWaitForMessages:
            WaitForMessages(static_cast<int>(word1));
            return 0;
        case kNotifyAllocate: {
            auto size = static_cast<size_t>(word1);
            void* block = word2 == 0 ? Allocate(size) : TryAllocate(size);
            return reinterpret_cast<intptr_t>(block);
        }
        case kNotifyWindowDestroyed:
            if (WindowLayer* windows = State().windows)
                windows->WindowGone(static_cast<uint32_t>(word1));
            WindowDestroyed(static_cast<uint32_t>(word1));
            return 0;
        case kNotifyFree:
            Free(reinterpret_cast<void*>(word1));
            return 0;
        case kNotifyWindowDescriptions:
            return reinterpret_cast<intptr_t>(&WindowDescriptions());
        case kNotifyFindDataType:
            return reinterpret_cast<intptr_t>(FindDataType(static_cast<uint32_t>(word1)));
        case kNotifyFindLiveObject:
            return reinterpret_cast<intptr_t>(FindLiveObject(word1, word2));
        case kNotifyFindControl: {
            void* object = FindLiveObject(word1, word2);
            if (!object) FatalRuntimeMessage(texts::kUnitNotLoaded);
            return reinterpret_cast<intptr_t>(object);
        }
        case kNotifyDeliverEvent:
            return DispatchEvent(*reinterpret_cast<SimpleEventRecord*>(word1)) ? 1 : 0;
        case kNotifyDeliverTypedEvent:
            return DispatchEvent(*reinterpret_cast<TypedEventRecord*>(word1)) ? 1 : 0;
        case kNotifySuppressEvents:
            RaiseEventSuppression();
            return 0;
        case kNotifyAllowEvents:
            LowerEventSuppression();
            return 0;
        default:
            return 0;  // requests the runtime does not handle change nothing
    }
}

}  // namespace velmora
