// The window's skin: the skin engine is carried in the program image and
// written next to the program before its first use.
#pragma once

namespace velmora::app {

// Writes the skin engine's file next to the program, hidden, unless a file of
// that name is already there (whatever it holds).
void ExtractSkinLibrary();

// Attaches skin `number` (1 to 33) through the engine; any other number hands
// the engine no skin at all.
void ApplySkin(int number);

}  // namespace velmora::app
