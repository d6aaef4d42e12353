// The main window's own handlers and the table through which its stored
// event bindings reach every handler of the collector.
#pragma once

#include "runtime/event_handler.h"

namespace velmora::app {

// Window created: skin 12, the template list with its first item selected,
// the first sort order, the instructions page, and a cleared stop flag.
void StartUp();

// Login button: page 0 and the affiliate platform's member centre in the login browser.
void ShowLoginPage();

// Page switch "生成日志": the log page.
void ShowLogPage();

// The handler table, in the order of app/main_window_handlers.def; the
// program header's handler base is its first entry.
HandlerTable MainWindowHandlers();

}  // namespace velmora::app
