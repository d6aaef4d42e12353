#include "commands/delay_command.h"

#include <chrono>
#include <thread>

#include "runtime/command_arguments.h"

namespace velmora::commands {

void Delay(ValueRecord*, int count, ValueRecord* args) {
    const int32_t milliseconds = CommandArguments(count, args)[0].Int();
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace velmora::commands
