#include "app/collection_engine.h"

#include "app/collector_globals.h"
#include "app/fetch_page.h"
#include "app/image/site_hosts.h"
#include "app/visible_text.h"
#include "commands/text_commands.h"
#include "runtime/array_block.h"
#include "runtime/constants.h"
#include "runtime/growing_text.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kCollectingItems[] = "开始搜寻单个宝贝信息。。。。\r\n";
VELMORA_CONSTANT const char kPageDoneBefore[] = "生成关键词\"";
VELMORA_CONSTANT const char kPageDoneAfter[] = ".htm\"完毕";
VELMORA_CONSTANT const char kLineBreak[] = "\r\n";
VELMORA_CONSTANT const char kLoggedInMark[] = "退出";
VELMORA_CONSTANT const char kLoginCheckMethod[] = "post";
VELMORA_CONSTANT const char kHttp[] = "http://";
VELMORA_CONSTANT const char kMemberCentrePath[] = "/membersvc/index.htm";

// The keywords' text split at every line break: an array of texts the list owns.
class KeywordList {
  public:
    explicit KeywordList(const char* text)
        : array_(CallCore(commands::SplitText, {TextArg(text), TextArg(kLineBreak)}).Pointer()) {}
    KeywordList(const KeywordList&) = delete;
    KeywordList& operator=(const KeywordList&) = delete;
    ~KeywordList() {
        for (uint64_t i = 0; i < Count(); ++i) Entries().Free(ArrayPointerAt(array_, i));
        Entries().Free(array_);
    }
    uint64_t Count() const { return ArrayElementCount(array_); }
    // A null element is the empty keyword.
    const char* At(uint64_t i) const {
        auto* keyword = static_cast<const char*>(ArrayPointerAt(array_, i));
        return keyword ? keyword : kEmptyText;
    }

  private:
    void* array_;
};

}  // namespace

void RunCollection(const CollectionJob& job, ItemSource& source, PageTemplate& page, LogSink& log) {
    KeywordList keywords(job.keywords);
    for (uint64_t i = 0; i < keywords.Count(); ++i) {
        ItemQuery query;
        query.keyword = keywords.At(i);
        query.sortIndex = job.sortIndex;
        query.count = job.count;
        query.log = &log;
        SearchOutcome outcome = source.Search(query);
        if (outcome.status == SearchStatus::kFailed) log.Append({outcome.cause.c_str()});
        if (outcome.status != SearchStatus::kFound) continue;
        SetCurrentKeyword(query.keyword);
        if (!page.Load(log)) continue;
        log.Append({kCollectingItems});
        source.Pause(200);
        if (Globals().stopRequested) continue;
        CollectAndWritePage(source, job.count, page, log);
        source.Pause(100);
        const char* keyword = Globals().currentKeyword ? Globals().currentKeyword : kEmptyText;
        log.Append(
            {kPageDoneBefore, VisibleText(keyword, TextEncoding::kGbk).c_str(), kPageDoneAfter});
    }
}

void CollectAndWritePage(ItemSource& source, int count, PageTemplate& page, LogSink& log) {
    GrowingText items;
    for (int rank = 1; rank <= count; ++rank) {
        std::optional<ItemRecord> item = source.Item(rank);
        if (!item) break;
        // Read for every item: a template that reads its loop afresh sees an edit at once.
        Text loop = page.Loop();
        items.Append(RenderItem(loop.c_str(), Globals().currentKeyword, *item).view());
        // A stop ends the loop here, so a huge count does not hold the run for hours.
        if (Globals().stopRequested) break;
    }
    WritePage(items.c_str(), Globals().currentKeyword, page, log);
}

Text MemberCentreAddress() {
    return Concat({kHttp, kMemberCentreHost, kMemberCentrePath});
}

bool PageShowsLogin(const char* address) {
    Text page = FetchPage(address, kLoginCheckMethod);
    return CallCore(commands::FindText,
                    {TextArg(page), TextArg(kLoggedInMark), MakeInteger(1), MakeLogical(false)})
               .Int() > 0;
}

}  // namespace velmora::app
