// What the collector does through the entry table that needs no window:
// waits, the data folder and writing a file.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

// The folder holding 单页生成 (the program's own in a portable copy, the
// user's data folder in an installed one), without a trailing separator.
Text DataDirectory();

// Waits that service the window's messages (without a window they sleep),
// and the one plain delay that does not.
void ResponsiveWait(int milliseconds);
void BlockingDelay(int milliseconds);

// The text's bytes as the whole file: a sibling file renamed over the old one,
// so a failed write keeps what was there. A symbolic link at the name is
// replaced, never written through: pages, site files and templates come from
// folders other people made. False when it failed, with errno saying why.
bool WriteTextToFile(const char* path, const char* text);

}  // namespace velmora::app
