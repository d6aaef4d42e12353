// The collection run as the window starts it: the start and stop buttons'
// handlers and the run over the keyword box, with the window's controls as
// the run's inputs, log, item rows and template.
#pragma once

#include "app/item_source.h"

namespace velmora::app {

// Start button: shows the log page, checks keyword box, login and item count,
// then runs the collection. A press while a run (or these checks) is still
// going on is refused with a log line instead of starting a second run inside it.
void StartCollection();

// Stop button: every later keyword of this and every later run is skipped
// after its search line.
void RequestStop();

// Whether the login browser's page, fetched again, shows a logged-in user.
bool IsLoggedIn();

// One pass over the keyword box's lines with the sort choice and item count
// the controls show now. Without a source it is the classic one, over the
// hidden item list.
void RunCollection();
void RunCollection(ItemSource& source);

}  // namespace velmora::app
