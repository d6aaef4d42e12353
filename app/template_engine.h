// The selected template in the window's editor boxes, and the page written
// from them.
#pragma once

#include "app/engine_calls.h"
#include "app/log_sink.h"
#include "app/runtime_calls.h"

namespace velmora::app {

// The text of the template list's selected item; empty without a selection.
Text SelectedTemplateName();

// Reads the template selected in the template list from disk into the name,
// head, loop and tail boxes. A missing file empties the three part boxes. A
// template file that is no regular file inside its folder (a link to the
// settings, say) is not read: the part boxes are emptied, the log says why,
// and the result is false. The refusal goes to the log given, else to the log box.
bool LoadSelectedTemplate();
bool LoadSelectedTemplate(LogSink& log);

// The same as a handler, for the editor's load button.
void LoadTemplate();

// Writes head + items + tail as keyword + ".htm" into the template's folder.
// Head, tail and template name are read from their boxes now, and the
// keyword is the run's current one. A failed write adds one log line. A
// keyword or template name that would lead out of the template's folder, a
// template folder that links out of the template root, and a keyword naming
// one of the template's own files write nothing and say so in the log.
void WritePage(const char* items);

}  // namespace velmora::app
