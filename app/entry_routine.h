// The application entry routine: the first code of the program that runs.
#pragma once

namespace velmora::app {

// Initialises the runtime, registers the end routine and loads the start-up
// window: every entry routine of the program begins so.
void StartProgramWindow();

// StartProgramWindow, then the message loop; answers 0 when the loop is over.
int ApplicationEntry();

}  // namespace velmora::app
