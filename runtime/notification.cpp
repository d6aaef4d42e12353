#include "runtime/notification.h"

#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/message_pump.h"
#include "runtime/program_location.h"

namespace velmora {

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
            WindowDestroyed(static_cast<uint32_t>(word1));
            return 0;
        case kNotifyFree:
            Free(reinterpret_cast<void*>(word1));
            return 0;
        default:
            return 0;  // requests the runtime does not handle change nothing
    }
}

}  // namespace velmora
