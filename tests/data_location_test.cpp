#include "runtime/data_location.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// An absolute path starts at a drive on Windows.
#ifdef _WIN32
#define ROOT "C:"
#else
#define ROOT ""
#endif

struct LayoutCase {
    const char* what;
    bool writable;
    bool installedTree;
    const char* installedLibraries;
    const char* xdgDataHome;
    DataLayout layout;
    const char* programData;
    const char* browserProfile;
    const char* libraries;
};

TEST(DataLocationTest, ChoosesTheLayoutAndItsFolders) {
    const LayoutCase cases[] = {
        {"portable copy", true, false, "", ROOT "/x/data", DataLayout::kPortable, ROOT "/opt/v",
         ROOT "/x/data/velmora/browser", ROOT "/opt/v"},
        {"read-only folder", false, false, "", ROOT "/x/data", DataLayout::kInstalled,
         ROOT "/x/data/velmora", ROOT "/x/data/velmora/browser", ROOT "/x/data/velmora"},
        {"installed tree writable by root", true, true, ROOT "/opt/lib/velmora", ROOT "/x/data",
         DataLayout::kInstalled, ROOT "/x/data/velmora", ROOT "/x/data/velmora/browser",
         ROOT "/opt/lib/velmora"},
        {"installed tree without its library folder", false, true, "", ROOT "/x/data",
         DataLayout::kInstalled, ROOT "/x/data/velmora", ROOT "/x/data/velmora/browser",
         ROOT "/x/data/velmora"},
        {"no data home", false, false, "", "", DataLayout::kInstalled,
         ROOT "/home/u/.local/share/velmora", ROOT "/home/u/.local/share/velmora/browser",
         ROOT "/home/u/.local/share/velmora"},
        {"relative data home is ignored", false, true, ROOT "/opt/lib/velmora", "rel/data",
         DataLayout::kInstalled, ROOT "/home/u/.local/share/velmora",
         ROOT "/home/u/.local/share/velmora/browser", ROOT "/opt/lib/velmora"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        DataPlaces places = ChooseDataPlaces({.programDirectory = ROOT "/opt/v",
                                              .programDirectoryWritable = c.writable,
                                              .insideInstalledTree = c.installedTree,
                                              .installedLibraries = c.installedLibraries,
                                              .xdgDataHome = c.xdgDataHome,
                                              .home = ROOT "/home/u"});
        EXPECT_EQ(places.layout, c.layout);
        EXPECT_EQ(places.programData, c.programData);
        EXPECT_EQ(places.browserProfile, c.browserProfile);
        EXPECT_EQ(places.libraries, c.libraries);
    }
}

}  // namespace
}  // namespace velmora
