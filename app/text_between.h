// Cutting marked pieces out of pages and templates.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

// The text strictly between the first startMarker at or after startPosition
// (1-based; 0 and 1 both mean the beginning) and the next endMarker after it.
// An absent end marker gives empty text. An absent start marker does not: the
// cut then begins at byte (length of startMarker - 1) of the source, and is
// empty only when that byte does not exist or no end marker follows.
Text TextBetween(const char* source, const char* startMarker, const char* endMarker,
                 int startPosition);

// Everything after the first startMarker at or after startPosition, by the
// same rule for an absent marker.
Text RemainderAfter(const char* source, const char* startMarker, int startPosition);

}  // namespace velmora::app
