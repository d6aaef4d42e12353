#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/item_record.h"
#include "app/promotion_page.h"
#include "app/template_text.h"
#include "commands/file_commands.h"
#include "commands/text_commands.h"
#include "runtime/gbk.h"
#include "runtime/growing_text.h"
#include "runtime/heap.h"
#include "tests/collector_samples.h"

namespace velmora {
namespace {

using app::Text;

// A result page of about `size` bytes holding `anchors` item blocks, each
// followed by ordinary markup with Chinese text up to its share of the page.
std::string ResultPage(size_t size, int anchors) {
    const std::string filler =
        "<li class=\"tag\">" + Utf8ToGbk("热卖 正品 包邮 新款 手机壳").value() + "</li>\n";
    const size_t share = size / size_t(anchors);
    std::string blocks;
    blocks.reserve(size + 4096);
    for (int i = 0; i < anchors; ++i) {
        std::string block = testing::PromotionBlock(
            std::to_string(100000 + i),
            Utf8ToGbk("<span>手机</span>壳 苹果 华为 小米 第").value() + std::to_string(i),
            Utf8ToGbk("小店").value() + std::to_string(i));
        while (block.size() < share) block += filler;
        blocks += block;
    }
    return testing::PromotionPage(blocks);
}

// The parse's own work: the anchor scan and the cuts of every block. Writing
// the rows is the report list's cost, and the closing fixed delay is no work.
void BM_ParsePromotionPage(benchmark::State& state) {
    const int anchors = int(state.range(0));
    const size_t size = anchors <= 40 ? 300 * 1024 : 30 * 1024 * 1024;
    const std::string page = ResultPage(size, anchors);
    for (auto _ : state) {
        std::vector<int> found = app::FindItemAnchors(page.c_str());
        size_t cut = 0;
        for (int anchor : found)
            cut += app::CutPromotionItem(page.c_str(), anchor).title.view().size();
        if (found.size() != size_t(anchors) || cut == 0) state.SkipWithError("the cuts missed");
        benchmark::DoNotOptimize(cut);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(page.size()));
}
BENCHMARK(BM_ParsePromotionPage)->Arg(40)->Arg(4000)->Unit(benchmark::kMillisecond);

// Rendering items into a 2 KiB loop text and writing head + items + tail.
void BM_RenderItems(benchmark::State& state) {
    std::string loop = Utf8ToGbk(
                           "<li><a href=\"[#商品网址#]\"><img src=\"[#商品图片地址#]\"></a>"
                           "<b>[#商品排名#]</b> [#商品标题#] [#关键词#] ￥[#商品价格#] "
                           "[#商品销售量#]人付款 [#卖家昵称#]</li>\n")
                           .value();
    while (loop.size() < 2048) loop += "<!-- padding of the item block -->";
    app::ItemRecord item;
    item.title = Text(CopyText(Utf8ToGbk("苹果手机壳 硅胶 防摔").value().c_str()));
    item.pictureUrl = Text(CopyText("http://img.example/bao/uploaded/i1/123456789.jpg"));
    item.itemUrl = Text(CopyText("http://item.example/item.htm?id=123456789"));
    item.price = Text(CopyText("19.90"));
    item.sales = Text(CopyText("1234"));
    item.seller = Text(CopyText(Utf8ToGbk("小店").value().c_str()));
    const std::string keyword = Utf8ToGbk("手机").value();
    const std::string path = "/tmp/velmora_render_bench_" + std::to_string(getpid()) + ".htm";
    size_t written = 0;
    for (auto _ : state) {
        GrowingText items;
        for (int rank = 1; rank <= state.range(0); ++rank) {
            item.rank = rank;
            items.Append(app::RenderItem(loop.c_str(), keyword.c_str(), item).view());
        }
        Text page = app::Concat({"<html><body><ul>", items.c_str(), "</ul></body></html>"});
        void* bytes = app::CallCore(commands::ToByteSet, {app::TextArg(page)}).Pointer();
        if (!app::CallCore(commands::WriteToFile,
                           {app::TextArg(path.c_str()), MakeByteSetValue(bytes)})
                 .Logical())
            state.SkipWithError("the page was not written");
        Free(bytes);
        written = page.view().size();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(written));
}
BENCHMARK(BM_RenderItems)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
