#include "runtime/data_location.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

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
        {"portable copy", true, false, "", "/x/data", DataLayout::kPortable, "/opt/v",
         "/x/data/velmora/browser", "/opt/v"},
        {"read-only folder", false, false, "", "/x/data", DataLayout::kInstalled, "/x/data/velmora",
         "/x/data/velmora/browser", "/x/data/velmora"},
        {"installed tree writable by root", true, true, "/opt/lib/velmora", "/x/data",
         DataLayout::kInstalled, "/x/data/velmora", "/x/data/velmora/browser", "/opt/lib/velmora"},
        {"installed tree without its library folder", false, true, "", "/x/data",
         DataLayout::kInstalled, "/x/data/velmora", "/x/data/velmora/browser", "/x/data/velmora"},
        {"no data home", false, false, "", "", DataLayout::kInstalled,
         "/home/u/.local/share/velmora", "/home/u/.local/share/velmora/browser",
         "/home/u/.local/share/velmora"},
        {"relative data home is ignored", false, true, "/opt/lib/velmora", "rel/data",
         DataLayout::kInstalled, "/home/u/.local/share/velmora",
         "/home/u/.local/share/velmora/browser", "/opt/lib/velmora"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        DataPlaces places = ChooseDataPlaces({.programDirectory = "/opt/v",
                                              .programDirectoryWritable = c.writable,
                                              .insideInstalledTree = c.installedTree,
                                              .installedLibraries = c.installedLibraries,
                                              .xdgDataHome = c.xdgDataHome,
                                              .home = "/home/u"});
        EXPECT_EQ(places.layout, c.layout);
        EXPECT_EQ(places.programData, c.programData);
        EXPECT_EQ(places.browserProfile, c.browserProfile);
        EXPECT_EQ(places.libraries, c.libraries);
    }
}

}  // namespace
}  // namespace velmora
