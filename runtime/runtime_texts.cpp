#include "runtime/runtime_texts.h"

#include <cstdarg>
#include <cstdio>

namespace velmora {
namespace texts {
const char kAllocationFailed[] = "分配 %lld 字节内存失败!";
const char kRuntimeErrorHeading[] = "运行时出错!";
const char kErrorTitle[] = "错误";
const char kTrue[] = "真";
const char kFalse[] = "假";
const char kDateFormat[] = "%d年%d月%d日";
const char kHourMinuteSecondFormat[] = "%d时%d分%d秒";
const char kHourMinuteFormat[] = "%d时%d分";
const char kHourFormat[] = "%d时";
const char kWindowBlockUnreadable[] = "载入窗口模板数据段出错!";
const char kUnitNotLoaded[] = "指定窗口或窗口组件不存在或尚未载入";
const char kEventWindowMissing[] = "未找到引发事件的窗口";
const char kEventUnitMissing[] = "未找到引发事件的窗口组件";
const char kEventUnitInvalid[] = "引发事件的窗口组件无效";
}  // namespace texts

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, again);
    va_end(again);
    return out;
}

}  // namespace velmora
