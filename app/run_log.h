// What a keyword's lines in the log box tell the batch command: how many
// items were collected and, for a page that was not written, why.
#pragma once

#include <string>
#include <string_view>

namespace velmora::app {

// The item lines of a classic run ("搜寻" + title + "完毕").
size_t CountCollectedItems(std::string_view logGbk);

// The last line that is not the keyword's closing line (生成关键词"….htm"完毕):
// the line a failure leaves; GBK, without its line break.
std::string FailureCause(std::string_view logGbk);

}  // namespace velmora::app
