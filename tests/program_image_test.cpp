#include "app/image/program_image.h"

#include <gtest/gtest.h>

#include <set>

#include "app/image/main_window_block.h"
#include "app/main_window_handlers.h"
#include "commands/file_commands.h"
#include "commands/text_commands.h"
#include "controls/list_view_commands.h"
#include "net/responsive_delay.h"
#include "runtime/entry_table.h"
#include "runtime/notification.h"
#include "runtime/program_image.h"

namespace velmora {
namespace {

// The program calls its commands by routine address; each library's table must
// hold exactly the routines the program uses, each once.
TEST(ProgramImage, LibrariesListTheCommandsTheProgramCalls) {
    const ProgramHeader& header = app::ProgramImage();
    ASSERT_EQ(header.libraryCount, 5u);
    const uint32_t expected[] = {33, 1, 4, 1, 1};
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
    EXPECT_TRUE(holds(0, commands::DataDirectory));
    EXPECT_TRUE(holds(2, controls::InsertRow));
    EXPECT_TRUE(holds(3, net::ResponsiveDelay));
    EXPECT_FALSE(holds(0, net::ResponsiveDelay));
}

// Started as the runtime starts every library, the responsive wait must reach
// the message pump; without that it only sleeps and the window freezes.
TEST(ProgramImage, TheStartedResponsiveWaitHandlesMessages) {
    static int pumps = 0;
    NotificationRoutine runtime = [](int code, uintptr_t, uintptr_t) -> intptr_t {
        if (code == kNotifyProcessMessages) ++pumps;
        return 0;
    };
    const LibraryRecord& library = *app::ProgramImage().libraries[kSpecialFunctionsLibrary];
    library.notify(kLibraryStart, reinterpret_cast<uintptr_t>(runtime), 0);
    ValueRecord milliseconds = MakeInteger(1);
    ValueRecord result{};
    net::ResponsiveDelay(&result, 1, &milliseconds);
    library.notify(kLibraryStart, 0, 0);
    EXPECT_GT(pumps, 0);
}

TEST(ProgramImage, HeaderCarriesTheWindowBlockAndTheSkinEngineImport) {
    const ProgramHeader& header = app::ProgramImage();
    EXPECT_EQ(header.buildKind, 3u) << "a normal build";
    EXPECT_EQ(header.windowBlock, app::kMainWindowBlock);
    EXPECT_EQ(header.windowBlockSize, app::kMainWindowBlockSize);
    EXPECT_GT(header.windowBlockSize, 1000u) << "the whole main window, not a stub";
    EXPECT_EQ(header.handlerBase, app::MainWindowHandlers().entries);
    ASSERT_EQ(header.dllCommandCount, 1u);
    EXPECT_STREQ(header.dllFileNames[0], "SkinH_EL.dll");
    EXPECT_STREQ(header.dllFunctionNames[0], "SkinH_AttachRes");
    EXPECT_EQ(header.libraryCount, 5u);
}

}  // namespace
}  // namespace velmora
