// The collector's program-wide values: the keyword being collected, the stop
// flag the stop button sets and the loaded template's encoding.
#pragma once

#include <atomic>

namespace velmora::app {

struct CollectorGlobals {
    char* currentKeyword = nullptr;  // a runtime heap text, null when empty
    // Atomic: the batch command's signal handler sets it too.
    std::atomic<bool> stopRequested = false;
    // The boxes hold a UTF-8 template as GB18030: its pages and its save go
    // back to UTF-8.
    bool templateInUtf8 = false;
};

CollectorGlobals& Globals();

// Keeps a copy of the keyword as the current one and frees the one before.
void SetCurrentKeyword(const char* keyword);

// The program's end routine: frees the global texts.
void FreeGlobals();

}  // namespace velmora::app
