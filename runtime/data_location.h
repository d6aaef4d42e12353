// Where the program keeps the files it writes, decided once for every part
// that asks: templates and the skin-engine file, and the browser profile.
// An installed tree that ships the skin-engine file in lib/velmora is read
// from there instead.
//
// A copy in a folder its user may write to is portable: templates and the
// skin-engine file sit beside the program, as they always have. An installed
// copy (a folder the user cannot write, or the bin folder of an installed
// tree that also holds share/velmora) keeps them in the user's own data
// folder, $XDG_DATA_HOME/velmora (on Windows %LOCALAPPDATA%\velmora), which
// updating the program never touches.
// The browser profile, and with it the login, belongs to the user in either
// layout.
#pragma once

#include <string>

namespace velmora {

enum class DataLayout { kPortable, kInstalled };

// What the choice depends on, gathered from the system.
struct DataFacts {
    std::string programDirectory;  // native (UTF-8), no trailing separator
    bool programDirectoryWritable = false;
    bool insideInstalledTree = false;
    // The installed tree's lib/velmora, when it has one; native.
    std::string installedLibraries;
    // As set; a relative value counts as unset. On Windows, %LOCALAPPDATA%.
    std::string xdgDataHome;
    std::string home;
};

struct DataPlaces {
    DataLayout layout = DataLayout::kPortable;
    // The folder holding 单页生成/; native.
    std::string programData;
    // The folder holding the skin-engine file: the installed tree's own
    // library folder where there is one, so that no user needs a copy.
    std::string libraries;
    // The user's own folder, $XDG_DATA_HOME/velmora; native.
    std::string userData;
    std::string browserProfile;
};

DataPlaces ChooseDataPlaces(const DataFacts& facts);

// The places of this process, worked out on first use.
const DataPlaces& UserDataPlaces();

// The folder holding 单页生成/ and the skin-engine file as a GBK text, the
// way file commands take it. In the portable layout it is exactly the
// program directory. A user folder GBK cannot spell falls back to it, said
// once on standard error.
const std::string& ProgramDataDirectory();

// The folder holding the skin-engine file, as a GBK text; the data folder
// when GBK cannot spell it.
const std::string& ProgramLibraryDirectory();

// Makes the installed layout's data folder (and its parents) when missing,
// so that the program's one-level folder commands can work inside it.
void PrepareProgramDataFolder();

// The system's side (data_location_posix.cpp, data_location_win32.cpp).
DataFacts GatherDataFacts();
bool IsAbsoluteNativePath(const std::string& path);
// Makes one folder, for its user only; one that exists is left as it is.
void MakePrivateFolder(const std::string& nativePath);

}  // namespace velmora
