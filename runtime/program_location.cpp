#include "runtime/program_location.h"

#include <unistd.h>

#include <climits>

#include "runtime/gbk.h"

namespace velmora {

ProgramPath SplitProgramPath(std::string_view gbkPath) {
    // GBK trail bytes never equal '/', so a byte search is safe here.
    size_t cut = gbkPath.rfind('/');
    if (cut == std::string_view::npos) return {std::string(), std::string(gbkPath)};
    return {std::string(gbkPath.substr(0, cut)), std::string(gbkPath.substr(cut + 1))};
}

const ProgramPath& ProgramLocation() {
    static const ProgramPath location = [] {
        char buffer[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        std::string path(buffer, n > 0 ? static_cast<size_t>(n) : 0);
        // A path GBK cannot hold stays as it is rather than name another place.
        return SplitProgramPath(Utf8ToGbk(path).value_or(path));
    }();
    return location;
}

}  // namespace velmora
