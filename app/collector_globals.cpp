#include "app/collector_globals.h"

#include "runtime/entry_table.h"

namespace velmora::app {

CollectorGlobals& Globals() {
    static CollectorGlobals globals;
    return globals;
}

void FreeGlobals() {
    Entries().Free(Globals().currentKeyword);
    Globals().currentKeyword = nullptr;
}

}  // namespace velmora::app
