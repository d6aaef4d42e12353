#include "app/collector_globals.h"

#include "app/runtime_calls.h"

namespace velmora::app {

CollectorGlobals& Globals() {
    static CollectorGlobals globals;
    return globals;
}

void SetCurrentKeyword(const char* keyword) {
    char* copy = Concat({keyword}).release();
    Entries().Free(Globals().currentKeyword);
    Globals().currentKeyword = copy;
}

void FreeGlobals() {
    Entries().Free(Globals().currentKeyword);
    Globals().currentKeyword = nullptr;
}

}  // namespace velmora::app
