#include "app/promotion_search.h"

#include "app/promotion_page.h"
#include "app/window_calls.h"
#include "controls/list_view_commands.h"

namespace velmora::app {
namespace {

constexpr int kAfterParseDelay = 200;

ValueRecord ItemList() {
    return ControlOf(tag::kListView, kItemList);
}

void AppendItemRow(const PromotionItem& item) {
    int row = CallLibrary(kExtendedUiLibrary, controls::InsertRow, {ItemList()}).Int();
    const char* const cells[] = {item.itemId.c_str(), item.title.c_str(), item.seller.c_str()};
    for (int column = 0; column < 3; ++column)
        CallLibrary(kExtendedUiLibrary, controls::SetCellText,
                    {ItemList(), MakeInteger(row), MakeInteger(column), TextArg(cells[column])});
}

}  // namespace

void ParsePromotionPage(const char* page) {
    std::vector<int> anchors = FindItemAnchors(page);
    CallLibrary(kExtendedUiLibrary, controls::DeleteAllRows, {ItemList()});
    for (int anchor : anchors) AppendItemRow(CutPromotionItem(page, anchor));
    BlockingDelay(kAfterParseDelay);
}

}  // namespace velmora::app
