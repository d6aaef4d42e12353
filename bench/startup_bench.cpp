#include <benchmark/benchmark.h>

#include "app/image/program_image.h"
#include "runtime/heap.h"
#include "runtime/shutdown.h"
#include "runtime/startup.h"

namespace velmora {
namespace {

// Runtime initialisation of the application's own image, windows aside: the
// program location, the constant region, the DLL table and the five libraries.
void BM_RuntimeInit(benchmark::State& state) {
    for (auto _ : state) {
        BeginProgram(app::ProgramImage(), nullptr, nullptr);
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
