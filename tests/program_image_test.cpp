#include "app/image/program_image.h"

#include <gtest/gtest.h>

#include <set>

#include "commands/text_commands.h"
#include "controls/list_view_commands.h"
#include "net/responsive_delay.h"
#include "runtime/program_image.h"

namespace velmora {
namespace {

// The program calls its commands by routine address; each library's table must
// hold exactly the routines the program uses, each once.
TEST(ProgramImage, LibrariesListTheCommandsTheProgramCalls) {
    const ProgramHeader& header = app::ProgramImage();
    ASSERT_EQ(header.libraryCount, 5u);
    const uint32_t expected[] = {31, 1, 4, 1, 1};
    for (uint32_t i = 0; i < 5; ++i) {
        const LibraryRecord& library = *header.libraries[i];
        EXPECT_EQ(library.commandCount, expected[i]) << "library " << i;
        std::set<CommandRoutine> distinct(library.commands,
                                          library.commands + library.commandCount);
        EXPECT_EQ(distinct.size(), library.commandCount) << "library " << i;
        EXPECT_EQ(distinct.count(nullptr), 0u) << "library " << i;
    }
    auto holds = [&](uint32_t library, CommandRoutine routine) {
        const LibraryRecord& r = *header.libraries[library];
        return std::find(r.commands, r.commands + r.commandCount, routine) !=
               r.commands + r.commandCount;
    };
    EXPECT_TRUE(holds(0, commands::FindText));
    EXPECT_TRUE(holds(2, controls::InsertRow));
    EXPECT_TRUE(holds(3, net::ResponsiveDelay));
    EXPECT_FALSE(holds(0, net::ResponsiveDelay));
}

TEST(ProgramImage, HeaderCarriesTheWindowBlockAndTheSkinEngineImport) {
    const ProgramHeader& header = app::ProgramImage();
    EXPECT_NE(header.windowBlock, nullptr);
    EXPECT_GT(header.windowBlockSize, 0u);
    EXPECT_NE(header.handlerBase, nullptr);
    ASSERT_EQ(header.dllCommandCount, 1u);
}

}  // namespace
}  // namespace velmora
