#include "net/responsive_delay.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "net/responsive_wait_library.h"
#include "runtime/entry_table.h"
#include "runtime/message_pump.h"
#include "runtime/notification.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class ResponsiveDelayTest : public ::testing::Test {
  protected:
    // Started as the runtime starts it: through the library's record.
    void SetUp() override {
        net::SpecialFunctionsLibrary().notify(kLibraryStart,
                                              reinterpret_cast<uintptr_t>(&RuntimeNotify), 0);
    }

    // Waits through the library call and answers how long it took.
    static Clock::duration Wait(int32_t ms) {
        ValueRecord arg = MakeInteger(ms);
        Clock::time_point start = Clock::now();
        Entries().CallLibraryCommand(kSpecialFunctionsLibrary, net::ResponsiveDelay, 1, &arg);
        return Clock::now() - start;
    }

    static void PostClick(QWidget* widget) {
        const QPointF at(5, 5);
        const QPointF global = widget->mapToGlobal(at);
        QCoreApplication::postEvent(
            widget, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            widget, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                    Qt::NoButton, Qt::NoModifier));
    }
};

TEST_F(ResponsiveDelayTest, ClicksDuringTheWaitRunTheirHandlersBeforeItReturns) {
    QPushButton stop("stop");
    stop.resize(80, 30);
    stop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stop));
    int clicks = 0;
    QObject::connect(&stop, &QPushButton::clicked, [&] { ++clicks; });

    PostClick(&stop);                                    // queued before the wait
    QTimer::singleShot(200, [&] { PostClick(&stop); });  // arrives in the middle of it
    Clock::duration took = Wait(500);
    EXPECT_EQ(clicks, 2);
    EXPECT_GE(took, milliseconds(500));
}

// The program starts the library through its record, as start-up does; the
// wait must reach the message pump that way too.
TEST(SpecialFunctionsLibraryTest, StartedThroughItsRecordTheWaitHandlesEvents) {
    const LibraryRecord& library = net::SpecialFunctionsLibrary();
    library.notify(kLibraryEnding, 0, 0);  // whatever an earlier test started
    library.notify(kLibraryStart, reinterpret_cast<uintptr_t>(&RuntimeNotify), 0);
    int handled = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++handled; }, Qt::QueuedConnection);
    ValueRecord arg = MakeInteger(50);
    Entries().CallLibraryCommand(kSpecialFunctionsLibrary, net::ResponsiveDelay, 1, &arg);
    EXPECT_EQ(handled, 1);
    library.notify(kLibraryEnding, 0, 0);
}

TEST_F(ResponsiveDelayTest, ZeroOrLessReturnsWithoutHandlingAnything) {
    int handled = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++handled; }, Qt::QueuedConnection);
    Wait(0);
    Wait(-1);
    EXPECT_EQ(handled, 0);
    Wait(1);
    EXPECT_EQ(handled, 1);
}

TEST_F(ResponsiveDelayTest, AQuitRequestWaitsForTheWaitToEndAndStaysInForce) {
    QEventLoop loop;
    Clock::duration took{};
    bool timedOut = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        took = Wait(300);
    });
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        loop.exit(1);
    });
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_GE(took, milliseconds(300));
}

TEST_F(ResponsiveDelayTest, HandlersMayWaitAgainInsideTheWait) {
    Clock::duration inner{};
    QTimer::singleShot(20, [&] { inner = Wait(100); });
    Clock::duration outer = Wait(150);
    EXPECT_GE(inner, milliseconds(100));
    EXPECT_GE(outer, milliseconds(150));
}

TEST(MessagePump, WaitEndsWhenAnEventArrivesAndHandlesIt) {
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    Clock::time_point start = Clock::now();
    RuntimeNotify(kNotifyWaitForMessages, 10000, 0);
    while (!fired && Clock::now() - start < std::chrono::seconds(5))
        RuntimeNotify(kNotifyWaitForMessages, 10000, 0);
    EXPECT_TRUE(fired);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

    start = Clock::now();
    WaitForMessages(40);
    EXPECT_GE(Clock::now() - start, milliseconds(40));

    int handled = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { ++handled; }, Qt::QueuedConnection);
    EXPECT_EQ(RuntimeNotify(kNotifyProcessMessages, 0, 0), 0);
    EXPECT_EQ(handled, 1);
}

}  // namespace
}  // namespace velmora
