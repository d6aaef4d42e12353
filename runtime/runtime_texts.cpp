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
const char kStartupWindowFailed[] = "载入启动窗口失败";
const char kUnitNotLoaded[] = "指定窗口或窗口组件不存在或尚未载入";
const char kPropertyWindowMissing[] = "未载入欲访问窗口组件所在的窗口";
const char kPropertyWindowNotBuilt[] = "指定窗口尚未载入";
const char kEventWindowMissing[] = "未找到引发事件的窗口";
const char kEventUnitMissing[] = "未找到引发事件的窗口组件";
const char kEventUnitInvalid[] = "引发事件的窗口组件无效";
const char kExportMissing[] = "无法找到指定DLL库文件中的输出命令“%s”";
const char kFileExportMissing[] = "无法找到指定DLL库文件“%s”中的输出命令“%s”";
const char kErrorCodeLabel[] = "错误代码：";
const char kErrorMessageLabel[] = "错误信息：";
const char* const kRuntimeErrorMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
const int kRuntimeErrorMessageCount =
    sizeof kRuntimeErrorMessages / sizeof kRuntimeErrorMessages[0];
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
