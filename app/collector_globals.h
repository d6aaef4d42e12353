// The collector's two program-wide values: the keyword being collected and
// the stop flag the stop button sets.
#pragma once

namespace velmora::app {

struct CollectorGlobals {
    char* currentKeyword = nullptr;  // a runtime heap text, null when empty
    bool stopRequested = false;
};

CollectorGlobals& Globals();

// Keeps a copy of the keyword as the current one and frees the one before.
void SetCurrentKeyword(const char* keyword);

// The program's end routine: frees the global texts.
void FreeGlobals();

}  // namespace velmora::app
