// The marketplace collector: every wanted row of the item list looked up on
// the marketplace, rendered into the template's loop, and the page written.
#pragma once

namespace velmora::app {

// Collects the first item-count rows of the item list for the current
// keyword and writes its page. Each item costs one marketplace request and
// two responsive waits, during which other handlers may run.
void CollectAndWritePage();

}  // namespace velmora::app
