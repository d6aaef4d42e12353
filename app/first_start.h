// What a first start anywhere needs in the data folder (Velmora's own folder
// in a portable copy, the user's in an installed one): a template root, made
// and seeded with the starter template the image carries when it is missing
// (a root the user has, even an emptied one, is left alone), and this copy's
// instructions page, which the help browser and the window's links open.
#pragma once

#include "app/runtime_calls.h"

namespace velmora::app {

void PrepareDataFolder();

// Where PrepareDataFolder wrote the instructions page.
Text InstructionsPagePath();

// Points the window's two links at their sections of the instructions page.
void LinkToInstructions();

}  // namespace velmora::app
