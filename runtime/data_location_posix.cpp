// Where this process's data goes, as a POSIX system tells it.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "runtime/data_location.h"
#include "runtime/program_location.h"

namespace velmora {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeDirectory() {
    std::string home = Environment("HOME");
    if (!home.empty()) return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

}  // namespace

DataFacts GatherDataFacts() {
    DataFacts facts;
    facts.programDirectory = ProgramLocation().nativeDirectory;
    const std::string folder = facts.programDirectory.empty() ? "/" : facts.programDirectory;
    facts.programDirectoryWritable = access(folder.c_str(), W_OK) == 0;
    // Root may write anywhere; an installed tree is still no place for user files.
    facts.insideInstalledTree = IsDirectory(folder + "/../share/velmora");
    const std::string libraries = folder.substr(0, folder.rfind('/')) + "/lib/velmora";
    if (facts.insideInstalledTree && IsDirectory(libraries)) facts.installedLibraries = libraries;
    facts.xdgDataHome = Environment("XDG_DATA_HOME");
    facts.home = HomeDirectory();
    return facts;
}

bool IsAbsoluteNativePath(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

void MakePrivateFolder(const std::string& nativePath) {
    mkdir(nativePath.c_str(), 0700);
}

}  // namespace velmora
