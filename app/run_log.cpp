#include "app/run_log.h"

#include <vector>

namespace velmora::app {
namespace {

constexpr std::string_view kClosingStart = "生成关键词\"";

std::vector<std::string_view> Lines(std::string_view log) {
    std::vector<std::string_view> lines;
    while (!log.empty()) {
        const size_t end = log.find("\r\n");
        lines.push_back(log.substr(0, end));
        if (end == std::string_view::npos) break;
        log.remove_prefix(end + 2);
    }
    return lines;
}

}  // namespace

std::string FailureCause(std::string_view logGbk) {
    std::vector<std::string_view> lines = Lines(logGbk);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (!line->empty() && !line->starts_with(kClosingStart)) return std::string(*line);
    return {};
}

}  // namespace velmora::app
