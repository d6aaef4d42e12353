// The collector's two program-wide values: the keyword being collected and
// the stop flag the stop button sets.
#pragma once

namespace velmora::app {

struct CollectorGlobals {
    char* currentKeyword = nullptr;  // a runtime heap text, null when empty
    bool stopRequested = false;
};

CollectorGlobals& Globals();

// The program's end routine: frees the global texts.
void FreeGlobals();

}  // namespace velmora::app
