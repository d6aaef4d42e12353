#include "runtime/runtime_service.h"

#include "runtime/array_block.h"
#include "runtime/entry_table.h"
#include "runtime/file_search.h"
#include "runtime/runtime_error.h"
#include "runtime/startup.h"

namespace velmora {

uint64_t RuntimeService(int service, int argumentCount, const uint64_t* arguments) {
    auto arg = [&](int i) -> uint64_t { return i < argumentCount ? arguments[i] : 0; };
    switch (service) {
        case kServiceFindFile:
            return reinterpret_cast<uintptr_t>(
                FindFile(reinterpret_cast<const char*>(static_cast<uintptr_t>(arg(0))),
                         static_cast<uint32_t>(arg(1)), arg(2) != 0,
                         reinterpret_cast<uintptr_t*>(static_cast<uintptr_t>(arg(3)))));
        case kServiceEndFind:
            EndFind(static_cast<uintptr_t>(arg(0)));
            return 0;
        case kServiceMakeArrayWritable:
            MakeArrayWritable(static_cast<size_t>(arg(0)),
                              reinterpret_cast<void**>(static_cast<uintptr_t>(arg(1))));
            return 0;
        case kServiceSetEndRoutine:
            SetEndRoutine(reinterpret_cast<ProgramRoutine>(static_cast<uintptr_t>(arg(0))));
            return 0;
        case kServiceInitialise:
            InitialiseRuntime();
            return 0;
        case kServiceReadObjectProperty:
        case kServiceWriteObjectProperty:
            return 0;  // no library object outside the controls has properties
        default:
            FatalRuntimeMessage("runtime service " + std::to_string(service) +
                                " is not available in this build");
    }
}

}  // namespace velmora
