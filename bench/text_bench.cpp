#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/text_between.h"
#include "commands/text_commands.h"
#include "runtime/array_block.h"
#include "runtime/entry_table.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"

namespace velmora {
namespace {

// A result page as the collector sees it: ASCII markup around GBK titles.
std::string Page(size_t size) {
    const std::string item = "<div class=\"item\"><a href=\"http://item.example/i123456.htm\">" +
                             Utf8ToGbk("手机壳 热卖 正品 包邮").value() +
                             "</a><span class=\"price\">12.50</span>" +
                             Utf8ToGbk("掌柜：小店").value() + "</div>\n";
    std::string page;
    page.reserve(size + item.size());
    while (page.size() < size) page += item;
    page.resize(size);
    return page;
}

constexpr char kAbsent[] = "J_NotOnThisPage";

ValueRecord Call(CommandRoutine routine, std::initializer_list<ValueRecord> args) {
    ValueRecord records[8];
    std::copy(args.begin(), args.end(), records);
    return Entries().CallCoreCommand(routine, int(args.size()), records);
}

void BM_FindText(benchmark::State& state) {
    std::string page = Page(size_t(state.range(0)));
    for (auto _ : state) {
        ValueRecord r = Call(commands::FindText, {MakeTextValue(page.c_str()),
                                                  MakeTextValue(kAbsent), Omitted(), Omitted()});
        if (r.Int() != -1) state.SkipWithError("the needle must be absent");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_FindText)->Arg(1 << 20);

// The bound FindText is held to: memmem ignores character boundaries.
void BM_Memmem(benchmark::State& state) {
    std::string page = Page(size_t(state.range(0)));
    for (auto _ : state) {
        const void* hit = memmem(page.data(), page.size(), kAbsent, sizeof kAbsent - 1);
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Memmem)->Arg(1 << 20);

void BM_ReplaceText(benchmark::State& state) {
    std::string page = Page(size_t(state.range(0)));
    for (auto _ : state) {
        ValueRecord r = Call(commands::ReplaceText,
                             {MakeTextValue(page.c_str()), MakeTextValue("<span"),
                              MakeTextValue("<em"), Omitted(), Omitted(), MakeLogical(true)});
        Free(r.Pointer());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ReplaceText)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

void BM_SplitText(benchmark::State& state) {
    std::string page = Page(size_t(state.range(0)));
    for (auto _ : state) {
        ValueRecord r = Call(commands::SplitText,
                             {MakeTextValue(page.c_str()), MakeTextValue("\n"), Omitted()});
        FreeArrayOfBlocks(r.Pointer());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SplitText)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

// Both markers lie in the first KiB; the page size must not show in the cost.
void BM_TextBetween(benchmark::State& state) {
    std::string page = "<html><head><title>" + Utf8ToGbk("搜索结果").value() +
                       "</title></head><body><div id=\"count\">40</div>" +
                       Page(size_t(state.range(0)));
    page.resize(size_t(state.range(0)));
    for (auto _ : state) {
        app::Text cut = app::TextBetween(page.c_str(), "<div id=\"count\">", "</div>", 0);
        if (cut.view() != "40") state.SkipWithError("wrong cut");
    }
}
BENCHMARK(BM_TextBetween)->Arg(64 << 10)->Arg(16 << 20);

}  // namespace
}  // namespace velmora
