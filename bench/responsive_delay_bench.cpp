#include <benchmark/benchmark.h>
#include <time.h>

#include <QCoreApplication>

#include "net/responsive_delay.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora {
namespace {

double Seconds(clockid_t clock) {
    timespec ts;
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The collection run waits this way between its steps; the wait should cost
// the processor next to nothing. cpu_share is CPU time over wall time.
void BM_ResponsiveDelay(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "velmora_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    LibraryNotify(kLibraryStart, reinterpret_cast<uintptr_t>(&RuntimeNotify), 0);
    ValueRecord milliseconds = MakeInteger(static_cast<int32_t>(state.range(0)));
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = Seconds(CLOCK_PROCESS_CPUTIME_ID);
        const double wallBefore = Seconds(CLOCK_MONOTONIC);
        net::ResponsiveDelay(nullptr, 1, &milliseconds);
        cpu += Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore;
        wall += Seconds(CLOCK_MONOTONIC) - wallBefore;
    }
    state.counters["cpu_share"] = cpu / wall;
}
BENCHMARK(BM_ResponsiveDelay)->Arg(500)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
