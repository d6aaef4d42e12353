#include "runtime/data_location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/program_location.h"
#include "runtime/windows_path.h"

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

DataFacts GatherFacts() {
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

}  // namespace

DataPlaces ChooseDataPlaces(const DataFacts& facts) {
    DataPlaces places;
    // A relative XDG_DATA_HOME is invalid and to be ignored.
    const std::string dataHome = !facts.xdgDataHome.empty() && facts.xdgDataHome[0] == '/'
                                     ? facts.xdgDataHome
                                     : facts.home + "/.local/share";
    places.userData = dataHome + "/velmora";
    places.browserProfile = places.userData + "/browser";
    const bool portable = facts.programDirectoryWritable && !facts.insideInstalledTree;
    places.layout = portable ? DataLayout::kPortable : DataLayout::kInstalled;
    places.programData = portable ? facts.programDirectory : places.userData;
    places.libraries = portable || facts.installedLibraries.empty() ? places.programData
                                                                    : facts.installedLibraries;
    return places;
}

const DataPlaces& UserDataPlaces() {
    static const DataPlaces places = ChooseDataPlaces(GatherFacts());
    return places;
}

const std::string& ProgramDataDirectory() {
    static const std::string directory = [] {
        const DataPlaces& places = UserDataPlaces();
        if (places.layout == DataLayout::kPortable) return ProgramLocation().directory;
        std::optional<std::string> gbk = NativeNameToGbk(places.programData);
        if (gbk) return *gbk;
        std::fprintf(stderr,
                     "velmora: the data folder %s has a name the program cannot use; "
                     "keeping templates beside the program instead\n",
                     places.programData.c_str());
        return ProgramLocation().directory;
    }();
    return directory;
}

const std::string& ProgramLibraryDirectory() {
    static const std::string directory = [] {
        const DataPlaces& places = UserDataPlaces();
        if (places.libraries == places.programData) return ProgramDataDirectory();
        return NativeNameToGbk(places.libraries).value_or(ProgramDataDirectory());
    }();
    return directory;
}

void PrepareProgramDataFolder() {
    const DataPlaces& places = UserDataPlaces();
    if (places.layout != DataLayout::kInstalled) return;
    // Private to its user, as the data home itself should be.
    for (size_t at = places.programData.find('/', 1);; at = places.programData.find('/', at + 1)) {
        mkdir(places.programData.substr(0, at).c_str(), 0700);
        if (at == std::string::npos) break;
    }
}

}  // namespace velmora
