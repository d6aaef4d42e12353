// The window under a real window manager: Xvfb and openbox run as children
// of the suite, so the window gets a frame of the manager's own, and its
// outer frame is what the stored rectangle and left/top speak of.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <functional>
#include <string>

#include "controls/core_types.h"
#include "controls/window_data.h"
#include "runtime/entry_table.h"
#include "tests/child_process.h"
#include "tests/live_window.h"
#include "tests/window_samples.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace velmora {
namespace {

using namespace velmora::testing;

// The manager answers asynchronously: waits, boundedly, for what it brings.
bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 300 && !done(); ++i) QTest::qWait(10);
    return done();
}

int32_t Read(int property) {
    return int32_t(Entries().ReadProperty(kSampleWindowId, 0, property, -1));
}

// A window of the stored outer size 400 x 300 at the stored place, or centred.
struct Placement {
    const char* name;
    uint32_t position;  // 0 as stored, 1 centred
};

TEST(WindowFrameTest, TheOuterFrameIsPlacedAndLeftAndTopReadWhatWasApplied) {
    for (Placement placement : {Placement{"as stored", 0}, Placement{"centred", 1}}) {
        SCOPED_TRACE(placement.name);
        controls::WindowData data;
        data.caption = "frame";
        data.position = placement.position;
        UnitRecord unit = WindowUnit({});
        unit.typeData = controls::WriteStoredData(data);
        unit.left = 100;
        unit.top = 60;
        unit.width = 400;
        unit.height = 300;
        WindowRecord record;
        record.id = kSampleWindowId;
        record.units.push_back(unit);
        LiveWindow live({controls::CoreDataTypes()}, record);
        ASSERT_TRUE(live.Load());
        QWidget* window = live.Live(0);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(Eventually([&] { return window->frameGeometry() != window->geometry(); }))
            << "no window manager framed the window";

        QPoint expected(100, 60);
        const QRect screen = window->screen()->geometry();
        if (placement.position == 1)  // half the room left on each side
            expected = QPoint(screen.x() + (screen.width() - 400) / 2,
                              screen.y() + (screen.height() - 300) / 2);
        EXPECT_EQ(window->frameGeometry().topLeft(), expected);
        EXPECT_EQ(Read(0), window->frameGeometry().x());
        EXPECT_EQ(Read(1), window->frameGeometry().y());

        Entries().WriteProperty(kSampleWindowId, 0, 0, -1, 150, 0);
        Entries().WriteProperty(kSampleWindowId, 0, 1, -1, 90, 0);
        EXPECT_TRUE(
            Eventually([&] { return window->frameGeometry().topLeft() == QPoint(150, 90); }));
        EXPECT_EQ(Read(0), 150);
        EXPECT_EQ(Read(1), 90);
    }
}

// Xvfb on a display it picks itself, then openbox on it; the suite's Qt
// application talks to that display.
class ManagedDisplay {
  public:
    bool Start() {
        int ready[2];
        if (pipe(ready) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        server_ = SpawnChild({"/usr/bin/Xvfb", "-displayfd", std::to_string(ready[1]), "-screen",
                              "0", "1024x768x24", "-nolisten", "tcp"},
                             environ, &actions);
        close(ready[1]);
        std::string display;
        ReadLine(ready[0], &display);
        close(ready[0]);
        if (server_ < 0 || display.empty()) return false;
        setenv("DISPLAY", (":" + display).c_str(), 1);

        // openbox runs its start-up command once it manages the screen.
        if (pipe(ready) != 0) return false;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, ready[0]);
        posix_spawn_file_actions_adddup2(&actions, ready[1], 1);
        manager_ =
            SpawnChild({"/usr/bin/openbox", "--startup", "/bin/echo managed"}, environ, &actions);
        close(ready[1]);
        // Its other start-up helpers may print before it.
        bool managed = false;
        for (std::string line; !managed && ReadLine(ready[0], &line);) managed = line == "managed";
        close(ready[0]);
        return manager_ > 0 && managed;
    }
    ~ManagedDisplay() {
        EndChild(manager_, SIGTERM);
        EndChild(server_, SIGTERM);
    }

  private:
    // False at the end of the stream.
    static bool ReadLine(int fd, std::string* line) {
        line->clear();
        char c;
        while (read(fd, &c, 1) == 1) {
            if (c == '\n') return true;
            *line += c;
        }
        return false;
    }
    pid_t server_ = -1;
    pid_t manager_ = -1;
};

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    velmora::ManagedDisplay display;
    if (!display.Start()) {
        std::fputs("window_frame_tests: Xvfb and openbox did not start\n", stderr);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
