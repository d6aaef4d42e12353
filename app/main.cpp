#include "app/entry_routine.h"
#include "app/image/program_image.h"
#include "app/main_window_handlers.h"
#include "runtime/program_start.h"
#include "runtime/window_builder.h"

int main(int argc, char** argv) {
    velmora::WindowBuilder windows(velmora::app::MainWindowHandlers());
    return velmora::RunProgram(argc, argv, velmora::app::ProgramImage(),
                               velmora::app::ApplicationEntry, &windows);
}
