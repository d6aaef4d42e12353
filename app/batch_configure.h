// velmora-batch --configure: the [api] settings asked for on the terminal
// and written to the settings file, so that nobody edits it by hand.
#pragma once

namespace velmora::app {

// Asks for app key, secret (not echoed on a terminal) and ad-zone id (or the
// PID it ends) on standard input; an empty answer keeps what the file holds.
// The file keeps its comments and order. The exit status.
int ConfigureApiSettings();

}  // namespace velmora::app
