#include "runtime/event_dispatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "controls/button.h"
#include "controls/label.h"
#include "runtime/data_type.h"
#include "runtime/notification.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/window_layer.h"
#include "runtime/window_table.h"
#include "tests/window_samples.h"

namespace velmora {
namespace {

using namespace velmora::testing;

constexpr uint32_t kTypeSilent = 0x00010002;  // a type whose units cannot raise events

struct Call {
    int handler;
    HandlerCall arguments;
    EventSource source;
};
std::vector<Call> calls;
HandlerResult nextResult;
void (*duringHandler)() = nullptr;

template <int N>
HandlerResult Record(const HandlerCall& call) {
    calls.push_back({N, call, CurrentEventSource()});
    if (duringHandler) {
        auto f = duringHandler;
        duringHandler = nullptr;
        f();
    }
    return nextResult;
}

const HandlerEntry kHandlers[] = {{"h0", Record<0>}, {"h1", Record<1>}, {"h2", Record<2>}};

constexpr uint32_t kButton = 0x16010001;
constexpr uint32_t kSecondButton = 0x16010002;
constexpr uint32_t kLabel = 0x16010003;
constexpr uint32_t kSilent = 0x16010004;
constexpr uint32_t kLooping = 0x16010005;
constexpr uint32_t kMenu = 0x26010001;

// Holds the sample window loaded, as the built window would be.
class LoadedSample : public WindowLayer {
  public:
    bool ReadDescriptions(const void*, size_t) override { return true; }
    void RelocateHandlers(const void*) override {}
    void RegisterWindows() override {}
    bool LoadWindow(uint32_t) override { return true; }
    bool AnyWindowAlive() const override { return true; }
    void DestroyAllWindows() override {}
    void* FindLiveObject(uint32_t windowId, uint32_t) override {
        return windowId == kSampleWindowId ? this : nullptr;
    }
};

class EventDispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        types_[0].englishName = "window";
        types_[0].flags = typeflag::kRaisesEvents;
        types_[1].englishName = "silent";
        types_[1].flags = typeflag::kContainer;
        types_[2].englishName = "MenuItem";
        types_[2].flags = typeflag::kRaisesEventsToo;
        types_[9].englishName = "Label";
        types_[9].flags = typeflag::kRaisesEvents;
        types_[10].englishName = "Button";
        types_[10].flags = typeflag::kRaisesEvents;
        RegisterDataTypes(0, types_);

        WindowRecord w;
        w.id = kSampleWindowId;
        w.units.push_back(WindowUnit({}));
        w.units[0].events = {{kWindowCloseRequest, HandlerOffset(0), nullptr}};
        UnitRecord button = Unit(kButton, kTypeButton, 0, 1);
        button.events = {{controls::kButtonClicked, HandlerOffset(1), nullptr},
                         {7, kNoHandler, nullptr}};
        w.units.push_back(button);
        // Same type: uses the first button's bindings instead of its own.
        UnitRecord second = Unit(kSecondButton, kTypeButton, 0, 1);
        second.eventSource = kButton;
        second.events = {{controls::kButtonClicked, HandlerOffset(2), nullptr}};
        w.units.push_back(second);
        // Another type: keeps its own.
        UnitRecord label = Unit(kLabel, kTypeLabel, 0, 1);
        label.eventSource = kButton;
        label.events = {{controls::kLabelClicked, HandlerOffset(2), nullptr}};
        w.units.push_back(label);
        w.units.push_back(Unit(kSilent, kTypeSilent, 0, 1));
        UnitRecord looping = Unit(kLooping, kTypeButton, 0, 1);
        looping.eventSource = kLooping;
        w.units.push_back(looping);
        UnitRecord menu;
        menu.id = kMenu;
        menu.type = kTypeMenuItem;
        menu.menuHandler.handlerOffset = HandlerOffset(2);
        w.units.push_back(menu);

        std::vector<WindowRecord> windows = {w};
        ASSERT_TRUE(ResolveHandlers(windows, {kHandlers, 3}));
        InstallWindowDescriptions(std::move(windows));
        State().windows = &loaded_;
        calls.clear();
        nextResult = {};
    }
    void TearDown() override {
        State().windows = nullptr;
        InstallWindowDescriptions({});
        ClearDataTypes();
        while (EventsSuppressed()) LowerEventSuppression();
    }

    static SimpleEventRecord Event(uint32_t unit, int32_t event) {
        SimpleEventRecord r;
        r.windowId = kSampleWindowId;
        r.unitId = unit;
        r.event = event;
        return r;
    }

    DataTypeEntry types_[11] = {};
    LoadedSample loaded_;
};

TEST_F(EventDispatchTest, BoundEventRunsItsHandlerWithTheArguments) {
    SimpleEventRecord r = Event(kButton, controls::kButtonClicked);
    r.argumentCount = 3;
    r.arguments[0] = 11;
    r.arguments[1] = 0xFFFFFFFF;
    r.arguments[2] = 33;
    EXPECT_TRUE(DispatchEvent(r));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handler, 1);
    EXPECT_EQ(calls[0].arguments.argumentCount, 3);
    EXPECT_EQ(calls[0].arguments.arguments[0], 11u);
    EXPECT_EQ(calls[0].arguments.arguments[1], 0xFFFFFFFFu);
    EXPECT_EQ(calls[0].arguments.arguments[2], 33u);
    EXPECT_EQ(r.returned, 0u) << "a handler without result leaves the flag clear";
}

TEST_F(EventDispatchTest, UnboundEventsReachNothing) {
    for (auto [unit, event] : std::vector<std::pair<uint32_t, int32_t>>{
             {kButton, 5}, {kButton, 7} /* offset -1 */, {0, kWindowCreated}, {kLooping, 0}}) {
        SimpleEventRecord r = Event(unit, event);
        EXPECT_FALSE(DispatchEvent(r)) << unit << " " << event;
    }
    EXPECT_TRUE(calls.empty());
}

TEST_F(EventDispatchTest, EventSourceChainStopsAtAnotherType) {
    SimpleEventRecord second = Event(kSecondButton, controls::kButtonClicked);
    SimpleEventRecord label = Event(kLabel, controls::kLabelClicked);
    EXPECT_TRUE(DispatchEvent(second));
    EXPECT_TRUE(DispatchEvent(label));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].handler, 1) << "a button naming a button uses that button's bindings";
    EXPECT_EQ(calls[1].handler, 2) << "a label naming a button keeps its own";
    // The source is the unit named in the record, not the one whose bindings ran.
    EXPECT_EQ(calls[0].source.unitId, kSecondButton);
}

TEST_F(EventDispatchTest, EventSourceCycleEnds) {
    WindowRecord* w = FindWindowDescription(kSampleWindowId);
    w->units[1].eventSource = kSecondButton;  // button <-> second button
    SimpleEventRecord r = Event(kButton, controls::kButtonClicked);
    // The chain stops where it would repeat; one of the two bindings runs.
    EXPECT_TRUE(DispatchEvent(r));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].handler == 1 || calls[0].handler == 2) << calls[0].handler;
    EXPECT_EQ(calls[0].source.unitId, kButton);
}

TEST_F(EventDispatchTest, MenuItemUsesItsSingleHandler) {
    SimpleEventRecord r = Event(kMenu, 12345);
    EXPECT_TRUE(DispatchEvent(r));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].handler, 2);
}

TEST_F(EventDispatchTest, CurrentSourceNamesTheEventWhileItsHandlerRuns) {
    SimpleEventRecord r = Event(0, kWindowCloseRequest);
    EXPECT_TRUE(DispatchEvent(r));
    EXPECT_EQ(calls[0].source.windowId, kSampleWindowId);
    EXPECT_EQ(calls[0].source.unitId, kWindowUnitId) << "unit 0 names the window's own unit";
    EXPECT_EQ(CurrentEventSource().windowId, 0u) << "cleared when the handler returns";

    // A handler raising an event of its own: the inner source holds inside,
    // the outer one again once the inner handler is done.
    static EventSource afterInner;
    duringHandler = [] {
        SimpleEventRecord inner = Event(kButton, controls::kButtonClicked);
        DispatchEvent(inner);
        afterInner = CurrentEventSource();
    };
    SimpleEventRecord outer = Event(kLabel, controls::kLabelClicked);
    DispatchEvent(outer);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].source.unitId, kButton);
    EXPECT_EQ(afterInner.unitId, kLabel);
    EXPECT_EQ(CurrentEventSource().unitId, 0u);
}

TEST_F(EventDispatchTest, CloseRequestRefusedOnlyByAHandlerReturningFalse) {
    struct Case {
        HandlerResult result;
        bool bound;
        bool allowed;
    } cases[] = {
        {{true, 0}, true, false},
        {{true, 1}, true, true},
        {{false, 0}, true, true},
        {{true, 0}, false, true},
    };
    for (const Case& c : cases) {
        nextResult = c.result;
        FindWindowDescription(kSampleWindowId)->units[0].events[0].handler =
            c.bound ? Record<0> : nullptr;
        SimpleEventRecord r = Event(kWindowUnitId, kWindowCloseRequest);
        bool ran = DispatchEvent(r);
        EXPECT_EQ(DefaultActionAllowed(ran, r), c.allowed)
            << c.result.returned << c.result.value << c.bound;
    }
}

TEST_F(EventDispatchTest, SuppressedEventsAreLost) {
    LowerEventSuppression();  // never below 0
    RaiseEventSuppression();
    EXPECT_TRUE(EventsSuppressed());
    SimpleEventRecord r = Event(kButton, controls::kButtonClicked);
    EXPECT_FALSE(DispatchEvent(r));
    RaiseEventSuppression();
    LowerEventSuppression();
    EXPECT_FALSE(DispatchEvent(r)) << "still one level up";
    LowerEventSuppression();
    EXPECT_TRUE(DispatchEvent(r));
    // Through the notification entry, as the libraries do it.
    RuntimeNotify(kNotifySuppressEvents, 0, 0);
    EXPECT_EQ(RuntimeNotify(kNotifyDeliverEvent, reinterpret_cast<uintptr_t>(&r), 0), 0);
    RuntimeNotify(kNotifyAllowEvents, 0, 0);
    EXPECT_EQ(RuntimeNotify(kNotifyDeliverEvent, reinterpret_cast<uintptr_t>(&r), 0), 1);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(EventDispatchTest, TypedRecordPassesArgumentsByKindAndKeepsA64BitResult) {
    TypedEventRecord r;
    r.windowId = kSampleWindowId;
    r.unitId = kButton;
    r.event = controls::kButtonClicked;
    r.argumentCount = 2;
    r.arguments[0] = {0x1234'5678'9ABC'DEF0, tag::kLong, 0};
    r.arguments[1] = {0xFFFF'FFFF'FFFF'FF80, tag::kByte, 0};
    nextResult = {true, 0x1'0000'0002};
    EXPECT_EQ(RuntimeNotify(kNotifyDeliverTypedEvent, reinterpret_cast<uintptr_t>(&r), 0), 1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments.arguments[0], 0x1234'5678'9ABC'DEF0u);
    EXPECT_EQ(calls[0].arguments.arguments[1], 0x80u);
    EXPECT_EQ(r.returned, 1u);
    uint64_t result = r.result;  // a packed field: copy before comparing
    EXPECT_EQ(result, 0x1'0000'0002u);

    SimpleEventRecord s = Event(kButton, controls::kButtonClicked);
    DispatchEvent(s);
    EXPECT_EQ(s.result, 2u) << "the simple record keeps 32 bits";
}

TEST(PassedArgumentTest, FollowsTheKindOfEachArgument) {
    const uint64_t v = 0xAAAA'BBBB'CCCC'F0F1;
    struct Case {
        uint32_t tag;
        uint32_t flags;
        uint64_t expected;
    } cases[] = {
        {tag::kByte, 0, 0xF1},
        {tag::kShort, 0, 0xFFFF'FFFF'FFFF'F0F1},  // sign-extended
        {tag::kInteger, 0, 0xCCCC'F0F1},
        {tag::kText, 0, 0xCCCC'F0F1},
        {tag::kLogical, 0, 0xCCCC'F0F1},
        {tag::kLong, 0, v},
        {tag::kDouble, 0, v},
        {tag::kDateTime, 0, v},
        {tag::kWide8, 0, v},
        {0x00010003, 0, v},
        {tag::kInteger, kArgumentEightBytes, v},
        {tag::kByte, kArgumentByReference, v},  // an address fills the slot
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassedArgument({v, c.tag, c.flags}), c.expected) << std::hex << c.tag;
    EXPECT_EQ(PassedArgument({0x7FFF, tag::kShort, 0}), 0x7FFFu);
}

using EventDispatchDeathTest = EventDispatchTest;

TEST_F(EventDispatchDeathTest, LookupFailuresAreFatal) {
    struct Case {
        uint32_t window;
        uint32_t unit;
        const char* message;
    } cases[] = {
        {0x52019999, 0, "未找到引发事件的窗口"},
        {kSampleWindowId, 0x16019999, "未找到引发事件的窗口组件"},
        {kSampleWindowId, kSilent, "引发事件的窗口组件无效"},
    };
    for (const Case& c : cases) {
        SimpleEventRecord r;
        r.windowId = c.window;
        r.unitId = c.unit;
        EXPECT_EXIT(DispatchEvent(r), ::testing::ExitedWithCode(255), c.message);
    }
    State().windows = nullptr;  // described, but not loaded
    SimpleEventRecord unloaded = Event(kButton, controls::kButtonClicked);
    EXPECT_EXIT(DispatchEvent(unloaded), ::testing::ExitedWithCode(255), "未找到引发事件的窗口");
}

// Stands in for the error report, which may pump messages while it shows:
// an event delivered meanwhile must reach no handler.
int ClickDuringTheReport(int, const char*) {
    SimpleEventRecord r;
    r.windowId = kSampleWindowId;
    r.unitId = kButton;
    r.event = controls::kButtonClicked;
    bool ran = DispatchEvent(r);
    std::fprintf(stderr, "handler ran during the report: %s\n", ran ? "yes" : "no");
    return 1;
}

TEST_F(EventDispatchDeathTest, NoHandlerRunsAfterAFatalError) {
    EXPECT_EXIT(
        {
            SetRuntimeErrorHook(ClickDuringTheReport);
            SimpleEventRecord missing;
            missing.windowId = 0x52019999;
            DispatchEvent(missing);
        },
        ::testing::ExitedWithCode(255), "handler ran during the report: no");
}

}  // namespace
}  // namespace velmora
