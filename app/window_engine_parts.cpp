#include "app/window_engine_parts.h"

#include "app/collector_globals.h"
#include "app/template_engine.h"
#include "app/window_calls.h"
#include "controls/list_view_commands.h"

namespace velmora::app {
namespace {

enum ItemColumn { kItemIdColumn = 0, kTitleColumn = 1, kSellerColumn = 2 };

ValueRecord ItemList() {
    return ControlOf(tag::kListView, kItemList);
}

Text CellText(int row, int column) {
    return TakeText(CallLibrary(kExtendedUiLibrary, controls::GetCellText,
                                {ItemList(), MakeInteger(row), MakeInteger(column)}));
}

}  // namespace

void LogBox::Append(std::initializer_list<const char*> texts) {
    AppendToLog(texts);
}

void ItemListRows::Clear() {
    CallLibrary(kExtendedUiLibrary, controls::DeleteAllRows, {ItemList()});
}

void ItemListRows::Append(const PromotionItem& item) {
    int row = CallLibrary(kExtendedUiLibrary, controls::InsertRow, {ItemList()}).Int();
    const char* const cells[] = {item.itemId.c_str(), item.title.c_str(), item.seller.c_str()};
    for (int column = 0; column < 3; ++column)
        CallLibrary(kExtendedUiLibrary, controls::SetCellText,
                    {ItemList(), MakeInteger(row), MakeInteger(column), TextArg(cells[column])});
}

PromotionItem ItemListRows::Row(int index) {
    return {CellText(index, kItemIdColumn), CellText(index, kTitleColumn),
            CellText(index, kSellerColumn)};
}

bool EditorTemplate::Load(LogSink& log) {
    return LoadSelectedTemplate(log);
}

Text EditorTemplate::Head() {
    return ReadText(kHeadBox);
}

Text EditorTemplate::Loop() {
    return ReadText(kLoopBox);
}

Text EditorTemplate::Tail() {
    return ReadText(kTailBox);
}

Text EditorTemplate::FolderName() {
    return ReadText(kTemplateNameBox);
}

bool EditorTemplate::InUtf8() {
    return Globals().templateInUtf8;
}

}  // namespace velmora::app
