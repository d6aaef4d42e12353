// The application entry routine: the first code of the program that runs.
#pragma once

namespace velmora::app {

// Initialises the runtime and registers the end routine: every entry routine
// begins so.
void StartProgram();

// StartProgram, then the start-up window.
void StartProgramWindow();

// StartProgramWindow, then the message loop; answers 0 when the loop is over.
int ApplicationEntry();

}  // namespace velmora::app
