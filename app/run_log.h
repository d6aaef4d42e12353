// What a keyword's log lines tell the batch command: why its page was not
// written.
#pragma once

#include <string>
#include <string_view>

namespace velmora::app {

// The last line that is not the keyword's closing line (生成关键词"….htm"完毕):
// the line a failure leaves; GBK, without its line break.
std::string FailureCause(std::string_view logGbk);

}  // namespace velmora::app
