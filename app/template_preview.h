// A preview page for a template that came without one: the template's own
// head, loop and tail filled with a few sample items.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

// The page the template would give for the sample keyword and items. Their
// pictures are inline images, so the page needs nothing outside its folder.
Text SamplePreview(const char* head, const char* loop, const char* tail);

}  // namespace velmora::app
