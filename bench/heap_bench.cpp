#include <benchmark/benchmark.h>

#include <string>

#include "runtime/heap.h"

namespace velmora {
namespace {

// Every command result is a fresh text; this is the floor under all of them.
void BM_MakeTextAndFree(benchmark::State& state) {
    std::string source(static_cast<size_t>(state.range(0)), 'x');
    for (auto _ : state) {
        char* text = MakeText(source.data(), static_cast<long>(source.size()));
        benchmark::DoNotOptimize(text);
        Free(text);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_MakeTextAndFree)->Arg(16)->Arg(4096);

}  // namespace
}  // namespace velmora
