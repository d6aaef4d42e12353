// Text from outside (a gateway's message, a keyword, an item's title) made
// fit for a terminal or a log line: every control character becomes '?', so
// that none can move the cursor, clear the screen, set the window title,
// write the clipboard or begin a forged line. Tabs stay: they do none of that.
#pragma once

#include <string>
#include <string_view>

namespace velmora::app {

enum class TextEncoding { kUtf8, kGbk };

// C0 controls and DEL in both encodings (GBK never uses such a byte inside a
// character); in UTF-8 also the C1 controls U+0080..U+009F, which GBK cannot
// hold.
std::string VisibleText(std::string_view text, TextEncoding encoding);

}  // namespace velmora::app
