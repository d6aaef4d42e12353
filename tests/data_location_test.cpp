#include "runtime/data_location.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct LayoutCase {
    const char* what;
    bool writable;
    bool installedTree;
    const char* xdgDataHome;
    DataLayout layout;
    const char* programData;
    const char* browserProfile;
};

TEST(DataLocationTest, ChoosesTheLayoutAndItsFolders) {
    const LayoutCase cases[] = {
        {"portable copy", true, false, "/x/data", DataLayout::kPortable, "/opt/v",
         "/x/data/velmora/browser"},
        {"read-only folder", false, false, "/x/data", DataLayout::kInstalled, "/x/data/velmora",
         "/x/data/velmora/browser"},
        {"installed tree writable by root", true, true, "/x/data", DataLayout::kInstalled,
         "/x/data/velmora", "/x/data/velmora/browser"},
        {"no data home", false, false, "", DataLayout::kInstalled, "/home/u/.local/share/velmora",
         "/home/u/.local/share/velmora/browser"},
        {"relative data home is ignored", false, true, "rel/data", DataLayout::kInstalled,
         "/home/u/.local/share/velmora", "/home/u/.local/share/velmora/browser"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        DataPlaces places = ChooseDataPlaces({.programDirectory = "/opt/v",
                                              .programDirectoryWritable = c.writable,
                                              .insideInstalledTree = c.installedTree,
                                              .xdgDataHome = c.xdgDataHome,
                                              .home = "/home/u"});
        EXPECT_EQ(places.layout, c.layout);
        EXPECT_EQ(places.programData, c.programData);
        EXPECT_EQ(places.browserProfile, c.browserProfile);
    }
}

}  // namespace
}  // namespace velmora
