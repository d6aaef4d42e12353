#include "runtime/data_location.h"

#include <cstdio>

#include "runtime/program_location.h"
#include "runtime/windows_path.h"

namespace velmora {

DataPlaces ChooseDataPlaces(const DataFacts& facts) {
    DataPlaces places;
    // A relative XDG_DATA_HOME is invalid and to be ignored.
    const std::string dataHome =
        IsAbsoluteNativePath(facts.xdgDataHome) ? facts.xdgDataHome : facts.home + "/.local/share";
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
    static const DataPlaces places = ChooseDataPlaces(GatherDataFacts());
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
        MakePrivateFolder(places.programData.substr(0, at));
        if (at == std::string::npos) break;
    }
}

}  // namespace velmora
