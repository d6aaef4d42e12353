// One collection run's use of the hidden report list: 40 rows appended with
// three cells each (id, title, seller), then every cell read back.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "controls/list_view.h"
#include "controls/list_view_data.h"

namespace velmora::controls {
namespace {

std::unique_ptr<QWidget> HiddenReportList() {
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "velmora_bench";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    ListViewData data;
    data.viewMode = kReportMode;
    data.columns =
        WriteColumns({{0, -1, 0, 100, "id"}, {0, -1, 0, 100, "title"}, {0, -1, 0, 50, "seller"}});
    std::vector<uint8_t> bytes = WriteStoredData(data);
    CreateRequest request;
    request.data = bytes;
    request.width = 100;
    request.height = 100;
    auto create = reinterpret_cast<CreateRoutine>(ListViewInterface(kRequestCreate));
    return std::unique_ptr<QWidget>(create(request));
}

void BM_FillAndReadFortyRows(benchmark::State& state) {
    auto list = HiddenReportList();
    RowStore* rows = RowsOf(list.get());
    std::string title(60, 't');
    char buffer[512];
    for (auto _ : state) {
        ClearRows(rows);
        for (int i = 0; i < 40; ++i) {
            int row = AddRow(rows, NewRow{});
            WriteCellText(rows, row, 0, "1234567890");
            WriteCellText(rows, row, 1, title);
            WriteCellText(rows, row, 2, "seller");
        }
        size_t total = 0;
        for (int row = 0; row < 40; ++row)
            for (int column = 0; column < 3; ++column)
                total += CopyCellText(rows, row, column, buffer, sizeof buffer);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 40);
}
BENCHMARK(BM_FillAndReadFortyRows);

}  // namespace
}  // namespace velmora::controls
