#include <cstdio>
#include <cstring>

#include "app/entry_routine.h"
#include "app/image/program_image.h"
#include "app/main_window_handlers.h"
#include "runtime/program_start.h"
#include "runtime/window_builder.h"

namespace {

// The window takes no options; these two answer before anything needs a display.
bool AnsweredWithoutAWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velmora %s\n", VELMORA_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: velmora\n"
                "Opens the window that turns keywords into product pages (see velmora(1)).\n"
                "Settings: $XDG_CONFIG_HOME/velmora/velmora.conf. Pages from a keyword file\n"
                "without a window: velmora-batch(1).\n");
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AnsweredWithoutAWindow(argc, argv)) return 0;
    velmora::WindowBuilder windows(velmora::app::MainWindowHandlers());
    return velmora::RunProgram(argc, argv, velmora::app::ProgramImage(),
                               velmora::app::ApplicationEntry, &windows);
}
