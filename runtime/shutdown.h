// The program's end, in order: no more events, windows destroyed, the
// program's end routine once, every library told, outside modules freed.
#pragma once

namespace velmora {

// Runs the shutdown steps and returns. Asked for on another thread, it hands
// the exit to the main thread instead. A second call while one runs returns at once.
void Shutdown(int code);

// The ExitProgram slot: shutdown, then the process ends with `code`.
[[noreturn]] void ExitProgram(int code);

}  // namespace velmora
