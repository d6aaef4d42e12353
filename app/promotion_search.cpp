#include "app/promotion_search.h"

#include "app/fetch_page.h"
#include "app/promotion_page.h"
#include "app/window_calls.h"
#include "controls/list_view_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kPost[] = "POST";
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

std::optional<Text> FetchPromotionPage(const char* keyword, int sortIndex) {
    std::optional<Text> address = PromotionSearchAddress(keyword, sortIndex);
    if (!address) return std::nullopt;
    return FetchPage(address->c_str(), kPost);
}

void ParsePromotionPage(const char* page) {
    std::vector<int> anchors = FindItemAnchors(page);
    CallLibrary(kExtendedUiLibrary, controls::DeleteAllRows, {ItemList()});
    for (int anchor : anchors) AppendItemRow(CutPromotionItem(page, anchor));
    BlockingDelay(kAfterParseDelay);
}

}  // namespace velmora::app
