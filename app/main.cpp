#include "app/entry_routine.h"
#include "app/image/program_image.h"
#include "runtime/program_start.h"

int main(int argc, char** argv) {
    return velmora::RunProgram(argc, argv, velmora::app::ProgramImage(),
                               velmora::app::ApplicationEntry, nullptr);
}
