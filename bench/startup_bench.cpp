#include <benchmark/benchmark.h>

#include "app/image/program_image.h"
#include "app/main_window_handlers.h"
#include "runtime/heap.h"
#include "runtime/shutdown.h"
#include "runtime/startup.h"
#include "runtime/window_builder.h"

namespace velmora {
namespace {

// Runtime initialisation of the application's own image as the program runs
// it: the program location, the constant region, the DLL table, the five
// libraries, and the window descriptions read, relocated and registered. The
// image carries a window block, so it needs the window layer the program
// gives it; without one the block is unreadable, which is fatal.
void BM_RuntimeInit(benchmark::State& state) {
    WindowBuilder windows(app::MainWindowHandlers());
    for (auto _ : state) {
        BeginProgram(app::ProgramImage(), nullptr, &windows);
        InitialiseRuntime();
        state.PauseTiming();
        Shutdown(0);
        ResetRuntimeState();
        ClearConstantRanges();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RuntimeInit)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velmora
