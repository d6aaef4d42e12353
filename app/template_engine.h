// The selected template in the editor boxes, and the page written from it.
#pragma once

namespace velmora::app {

// Reads the template selected in the template list from disk into the name,
// head, loop and tail boxes. A missing file empties the three part boxes.
void LoadTemplate();

// Writes head + items + tail as keyword + ".htm" into the template's folder.
// Head, tail and template name are read from their boxes now, and the
// keyword is the run's current one. A failed write adds one log line. A
// keyword or template name that would lead out of the template's folder
// writes nothing and says so in the log.
void WritePage(const char* items);

}  // namespace velmora::app
