// Reading the stored window block at start-up: a window of the main window's
// size (56 units), each with a name, a tag, one binding and type data.
#include <benchmark/benchmark.h>

#include "runtime/window_description.h"
#include "runtime/window_description_writer.h"

namespace velmora {
namespace {

std::vector<uint8_t> MainWindowSizedBlock() {
    WindowRecord w;
    w.id = 0x52010001;
    for (uint32_t i = 0; i < 56; ++i) {
        UnitRecord u;
        u.id = i == 0 ? 0x06010000 : 0x16010000 + i;
        u.type = i == 0 ? 0x00010001 : 0x00010009;
        u.name = "unit name " + std::to_string(i);
        u.tag = "tag";
        u.cursorData = {0, 0, 0, 0};
        u.children = {0x16010001, 0x16010002, 0};
        u.events = {{0, 0, nullptr}};
        u.typeData.assign(120, 7);
        w.units.push_back(u);
    }
    return WriteWindowBlock(std::vector<WindowRecord>{w});
}

void BM_ReadWindowBlock(benchmark::State& state) {
    auto block = MainWindowSizedBlock();
    for (auto _ : state) {
        WindowBlockResult read = ReadWindowBlock(block);
        benchmark::DoNotOptimize(read.windows.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(block.size()));
}
BENCHMARK(BM_ReadWindowBlock);

}  // namespace
}  // namespace velmora
