// Turns the parsed window source into window records, ready for the writer.
//
// Per unit the source gives: parent (a unit identifier, 0 = the window), page
// (0-based, only under a paged parent), rect = [left, top, width, height],
// state = [visible, disabled, tabStop] or a number, focusOrder, cursor (a
// standard cursor name, a number, or a cursor file named by a text relative
// to the source's file directories), tag, comment, eventSource, and
// `on N = Handler` bindings.
// Every other property belongs to the unit's type. Child lists are built from
// the parents; a paged parent gets one 0-ended run of children per page.
// A menu item takes `text`, `words` (three numbers) and `handler`.
#pragma once

#include <string>
#include <vector>

#include "runtime/window_description.h"
#include "tools/window_source.h"

namespace velmora::tools {

// Handlers are named through the application's handler list: the offset of
// the n-th name is HandlerOffset(n). Throws SourceError.
std::vector<WindowRecord> CompileWindowSource(const WindowSource& source,
                                              const std::vector<std::string>& handlers,
                                              const FileDirectories& fileDirectories);

// The cursor selector of a standard cursor name; -1 when unknown.
int StandardCursorNumber(const std::string& name);

}  // namespace velmora::tools
