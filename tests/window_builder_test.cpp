#include "runtime/window_builder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <cstdlib>

#include "controls/button.h"
#include "controls/button_data.h"
#include "controls/control_support.h"
#include "controls/core_types.h"
#include "controls/edit_box.h"
#include "controls/edit_box_data.h"
#include "controls/tab.h"
#include "controls/tab_data.h"
#include "controls/window_data.h"
#include "runtime/entry_table.h"
#include "runtime/event_dispatch.h"
#include "runtime/notification.h"
#include "runtime/program_image.h"
#include "runtime/runtime_state.h"
#include "runtime/window_description_writer.h"
#include "runtime/window_messages.h"
#include "runtime/window_table.h"
#include "tests/window_samples.h"

// Font configuration keeps a cache for the life of the process; that is the
// library's own and not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace velmora {
namespace {

using namespace velmora::testing;

// Unit identifiers of the test window, in table order.
constexpr uint32_t kTab = 0x16010003;
constexpr uint32_t kPageOneButton = 0x16010004;
constexpr uint32_t kPageTwoEdit = 0x16010005;
constexpr uint32_t kGroup = 0x16010006;
constexpr uint32_t kProbe = 0x16010007;
constexpr uint32_t kLabel = 0x16010008;
constexpr uint32_t kInGroupButton = 0x16010009;
constexpr uint32_t kOwned = 0x52010002;
constexpr uint32_t kTypeProbe = 0x00010002;  // a test type at an unused position

// What handlers saw.
struct Seen {
    int created = 0;
    int moved = 0;
    int resized = 0;
    int clicked = 0;
    int labelOwnClick = 0;
    int edited = 0;
    int probe = 0;
    int destroyed = 0;
    bool allExistedAtCreation = false;
    bool refuseClose = false;
} seen;

bool AllUnitsLive() {
    for (const UnitRecord& u : FindWindowDescription(kSampleWindowId)->units)
        if (!FindLiveObject(kSampleWindowId, u.id)) return false;
    return true;
}

HandlerResult Created(const HandlerCall&) {
    ++seen.created;
    seen.allExistedAtCreation = AllUnitsLive();
    return {};
}
HandlerResult Moved(const HandlerCall&) {
    return ++seen.moved, HandlerResult{};
}
HandlerResult Resized(const HandlerCall&) {
    return ++seen.resized, HandlerResult{};
}
HandlerResult Clicked(const HandlerCall&) {
    return ++seen.clicked, HandlerResult{};
}
HandlerResult LabelClicked(const HandlerCall&) {
    return ++seen.labelOwnClick, HandlerResult{};
}
HandlerResult Edited(const HandlerCall&) {
    return ++seen.edited, HandlerResult{};
}
HandlerResult Probe(const HandlerCall&) {
    return ++seen.probe, HandlerResult{};
}
HandlerResult Destroyed(const HandlerCall&) {
    return ++seen.destroyed, HandlerResult{};
}
HandlerResult CloseRequest(const HandlerCall&) {
    return {true, seen.refuseClose ? 0u : 1u};
}

const HandlerEntry kHandlers[] = {{"Created", Created},
                                  {"Moved", Moved},
                                  {"Resized", Resized},
                                  {"Clicked", Clicked},
                                  {"LabelClicked", LabelClicked},
                                  {"Edited", Edited},
                                  {"Probe", Probe},
                                  {"CloseRequest", CloseRequest},
                                  {"Destroyed", Destroyed}};
int32_t Bound(HandlerRoutine routine) {
    for (size_t i = 0; i < std::size(kHandlers); ++i)
        if (kHandlers[i].routine == routine) return HandlerOffset(i);
    return kNoHandler;
}

// A control that tries to raise events at every step of the build.
void RaiseFrom(uint32_t windowId, uint32_t unitId, int32_t event) {
    SimpleEventRecord r;
    r.windowId = windowId;
    r.unitId = unitId;
    r.event = event;
    RuntimeNotify(kNotifyDeliverEvent, reinterpret_cast<uintptr_t>(&r), 0);
}
class ProbeWidget : public QWidget {
  public:
    using QWidget::QWidget;
    std::vector<QEvent::Type> messages;

  protected:
    bool event(QEvent* e) override {
        if (e->type() == kMessageBuildFinished || e->type() == kMessageWindowShown) {
            messages.push_back(e->type());
            RaiseFrom(kSampleWindowId, kProbe, 0);
            RaiseFrom(kSampleWindowId, 0, kWindowCreated);
        }
        return QWidget::event(e);
    }
};
QWidget* CreateProbe(const CreateRequest& request) {
    RaiseFrom(request.windowId, request.unitId, 0);
    RaiseFrom(request.windowId, 0, kWindowCreated);
    auto* probe = new ProbeWidget(request.parent);
    probe->setGeometry(request.left, request.top, request.width, request.height);
    controls::AttachToUnit(probe, request);
    return probe;
}
InterfaceRoutine ProbeInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(CreateProbe) : nullptr;
}

UnitRecord WithData(UnitRecord u, std::vector<uint8_t> data) {
    u.typeData = std::move(data);
    return u;
}

// window
//   Tab (pages: button | edit box)
//   GroupBox { button }, probe, label (event source: the button)
WindowRecord TestWindow() {
    WindowRecord w;
    w.id = kSampleWindowId;
    controls::WindowData windowData;
    windowData.position = 0;
    windowData.border = 0;
    UnitRecord window =
        WithData(WindowUnit({kTab, kGroup, kProbe, kLabel}), controls::WriteStoredData(windowData));
    window.events = {{kWindowCreated, Bound(Created), nullptr},
                     {kWindowCloseRequest, Bound(CloseRequest), nullptr},
                     {kWindowDestroyed, Bound(Destroyed), nullptr},
                     {kWindowMoved, Bound(Moved), nullptr},
                     {kWindowResized, Bound(Resized), nullptr}};
    w.units.push_back(window);

    controls::TabData tab;
    tab.pages = {"a", "b"};
    w.units.push_back(
        WithData(Unit(kTab, kTypeTab, 0, kStateVisible, {kPageOneButton, 0, kPageTwoEdit, 0}),
                 controls::WriteStoredData(tab)));
    UnitRecord button = Unit(kPageOneButton, kTypeButton, kTab, kStateVisible | kStateTabStop);
    button.cursorData = {14, 0, 0, 0};
    button.events = {{controls::kButtonClicked, Bound(Clicked), nullptr}};
    w.units.push_back(button);
    controls::EditBoxData edit;
    edit.content = "stored";
    UnitRecord editUnit = WithData(Unit(kPageTwoEdit, kTypeEditBox, kTab, kStateVisible),
                                   controls::WriteStoredData(edit));
    editUnit.cursorData = {3, 0, 0, 0};
    editUnit.events = {{0, Bound(Edited), nullptr}};
    w.units.push_back(editUnit);
    w.units.push_back(Unit(kGroup, kTypeGroupBox, 0, kStateVisible, {kInGroupButton}));
    UnitRecord probe = Unit(kProbe, kTypeProbe, 0, kStateVisible);
    probe.events = {{0, Bound(Probe), nullptr}};
    w.units.push_back(probe);
    UnitRecord label = Unit(kLabel, kTypeLabel, 0, 0);  // visible bit clear
    label.eventSource = kPageOneButton;                 // another type: keeps its own
    label.events = {{0, Bound(LabelClicked), nullptr}};
    w.units.push_back(label);
    UnitRecord inGroup = Unit(kInGroupButton, kTypeButton, kGroup, kStateVisible);
    inGroup.eventSource = kPageOneButton;  // same type: the first button's bindings
    w.units.push_back(inGroup);
    return w;
}

WindowRecord OwnedWindow() {
    WindowRecord w;
    w.id = kOwned;
    w.units.push_back(WindowUnit({}));
    return w;
}

class WindowBuilderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "window_builder_tests";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }

    void SetUp() override {
        auto core = controls::CoreDataTypes();
        std::copy(core.begin(), core.end(), types_.begin());
        types_[1].englishName = "Probe";
        types_[1].flags = typeflag::kRaisesEvents;
        types_[1].interface = ProbeInterface;
        RegisterDataTypes(0, types_);
        std::vector<WindowRecord> windows = {TestWindow(), OwnedWindow()};
        ASSERT_TRUE(ResolveHandlers(windows, {kHandlers, std::size(kHandlers)}));
        InstallWindowDescriptions(std::move(windows));
        State().windows = &builder_;
        seen = {};
    }

    void TearDown() override {
        for (uint32_t id : {kOwned, kSampleWindowId})
            if (QWidget* w = FindLiveObject(id, 0)) delete w;
        Settle();
        InstallWindowDescriptions({});
        ClearDataTypes();
        State().windows = nullptr;
    }

    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    static QWidget* Live(uint32_t unit) { return FindLiveObject(kSampleWindowId, unit); }

    std::array<DataTypeEntry, controls::kCoreTypeCount> types_{};
    WindowBuilder builder_{{kHandlers, std::size(kHandlers)}};
};

TEST_F(WindowBuilderTest, ControlIdsRunFromTheLastUnitUpInStepsOfTen) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    const auto& units = FindWindowDescription(kSampleWindowId)->units;
    int expected = 100;
    for (size_t i = units.size(); i-- > 1; expected += 10)
        EXPECT_EQ(controls::IdentityOf(Live(units[i].id))->controlId, expected) << i;
    EXPECT_EQ(controls::IdentityOf(Live(kInGroupButton))->controlId, 100);
    EXPECT_EQ(controls::IdentityOf(Live(kTab))->controlId, 160);
}

TEST_F(WindowBuilderTest, ControlsSitInTheirParentsAtTheStoredPlace) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QWidget* window = Live(0);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(Live(kTab)->parentWidget(), window);
    EXPECT_EQ(Live(kPageOneButton)->parentWidget(), Live(kTab));
    EXPECT_EQ(Live(kPageTwoEdit)->parentWidget(), Live(kTab));
    EXPECT_EQ(Live(kInGroupButton)->parentWidget(), Live(kGroup));
    EXPECT_EQ(Live(kInGroupButton)->geometry(), QRect(10, 20, 80, 24));
    EXPECT_EQ(window->size(), QSize(400, 300)) << "a borderless window is all client area";
}

TEST_F(WindowBuilderTest, TableOrderIsTheZOrderFromTheTopDown) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    // Qt lists children from the bottom of the stack to its top.
    std::vector<QWidget*> stack;
    for (QObject* child : Live(0)->children())
        if (auto* w = qobject_cast<QWidget*>(child)) stack.push_back(w);
    std::vector<QWidget*> expected = {Live(kLabel), Live(kProbe), Live(kGroup), Live(kTab)};
    EXPECT_EQ(stack, expected);
}

TEST_F(WindowBuilderTest, LaterTabPagesAndClearedVisibleBitsStartHidden) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_TRUE(Live(0)->isVisible());
    EXPECT_TRUE(Live(kPageOneButton)->isVisible());
    EXPECT_FALSE(Live(kPageTwoEdit)->isVisible()) << "page 2 starts hidden despite its bit";
    EXPECT_FALSE(Live(kLabel)->isVisible()) << "exists, never shown";
    controls::ShowTabPage(Live(kTab), 1);
    EXPECT_FALSE(Live(kPageOneButton)->isVisible());
    EXPECT_TRUE(Live(kPageTwoEdit)->isVisible());
}

TEST_F(WindowBuilderTest, CursorsComeFromTheStoredSelector) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_EQ(Live(kPageOneButton)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Live(kPageTwoEdit)->cursor().shape(), Qt::IBeamCursor);
    EXPECT_FALSE(Live(kGroup)->testAttribute(Qt::WA_SetCursor)) << "0: the default";
}

TEST_F(WindowBuilderTest, NoEventReachesAHandlerDuringTheBuild) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    auto* probe = static_cast<ProbeWidget*>(Live(kProbe));
    // The probe raised its event at creation and at the build-finished message;
    // only the shown message comes after the build.
    EXPECT_EQ(probe->messages,
              (std::vector<QEvent::Type>{kMessageBuildFinished, kMessageWindowShown}));
    EXPECT_EQ(seen.probe, 1);
    EXPECT_EQ(seen.created, 2) << "the loader's event 0 and the probe's after the build";
    EXPECT_EQ(seen.moved, 1);
    EXPECT_EQ(seen.resized, 1);
    EXPECT_EQ(seen.edited, 0) << "setting the stored content raises nothing";
    EXPECT_FALSE(EventsSuppressed());
}

TEST_F(WindowBuilderTest, CreatedEventFiresOnceAfterEveryControlExists) {
    // Without the probe's extra raising.
    FindWindowDescription(kSampleWindowId)->units[5].type = kTypeLabel;
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_EQ(seen.created, 1);
    EXPECT_TRUE(seen.allExistedAtCreation);
    // A second load only brings the window forward.
    QWidget* first = Live(0);
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_EQ(Live(0), first);
    EXPECT_EQ(seen.created, 1);
}

TEST_F(WindowBuilderTest, EventSourceOfAnotherTypeKeepsItsOwnBindings) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    static_cast<QPushButton*>(Live(kInGroupButton))->click();
    EXPECT_EQ(seen.clicked, 1) << "a button naming a button uses its bindings";
    controls::RaiseEvent(Live(kLabel), 0);
    EXPECT_EQ(seen.labelOwnClick, 1);
    EXPECT_EQ(seen.clicked, 1);
}

TEST_F(WindowBuilderTest, CloseRefusedByFalseAndWindowLoadsAgainAfterClosing) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    seen.refuseClose = true;
    EXPECT_FALSE(Live(0)->close());
    Settle();
    EXPECT_TRUE(IsWindowLoaded(kSampleWindowId));

    seen.refuseClose = false;
    EXPECT_TRUE(Live(0)->close());
    Settle();
    EXPECT_FALSE(IsWindowLoaded(kSampleWindowId));
    EXPECT_EQ(Live(kTab), nullptr);
    EXPECT_FALSE(AnyWindowLoaded());

    // The records stayed; the window builds again from them.
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_TRUE(IsWindowLoaded(kSampleWindowId));
    EXPECT_EQ(seen.created, 4) << "event 0 again on the second build (probe included)";
}

TEST_F(WindowBuilderTest, RebuildRecreatesTheControlWithEventsSuppressed) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QWidget* before = Live(kPageTwoEdit);
    int id = controls::IdentityOf(before)->controlId;
    auto set = TypeRoutine<SetPropertyRoutine>(*FindDataType(kTypeEditBox), kRequestSetProperty);
    ASSERT_NE(set, nullptr);
    EXPECT_FALSE(set(before, controls::kEditBoxContent, MakeTextValue("typed")));
    EXPECT_EQ(seen.edited, 1) << "writing the content raises event 0";
    ASSERT_TRUE(set(before, controls::kEditBoxMultiLine, MakeLogical(true)))
        << "changing to multi-line needs a rebuild";
    ASSERT_TRUE(RebuildControl(kSampleWindowId, kPageTwoEdit));
    auto* after = qobject_cast<QPlainTextEdit*>(Live(kPageTwoEdit));
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->toPlainText(), "typed") << "the content survives the rebuild";
    EXPECT_EQ(controls::IdentityOf(after)->controlId, id);
    EXPECT_EQ(after->parentWidget(), Live(kTab));
    EXPECT_FALSE(after->isVisible()) << "still on a hidden page";
    EXPECT_EQ(seen.edited, 1) << "the rebuild raised nothing";
    EXPECT_FALSE(EventsSuppressed());
}

TEST_F(WindowBuilderTest, RebuildKeepsTheUnitsInsideTheControl) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    QWidget* inside = Live(kInGroupButton);
    ASSERT_TRUE(RebuildControl(kSampleWindowId, kGroup));
    EXPECT_EQ(inside->parentWidget(), Live(kGroup));
    EXPECT_TRUE(inside->isVisible());
}

TEST_F(WindowBuilderTest, AModalWindowDisablesTheOthersUntilItGoes) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    EXPECT_FALSE(BuildWindow(kOwned, true, 0x52019999)) << "the owner must be a live window";
    ASSERT_TRUE(BuildWindow(kOwned, true, kSampleWindowId));
    EXPECT_EQ(FindLiveObject(kOwned, 0)->parentWidget(), Live(0));
    EXPECT_FALSE(Live(0)->isEnabled());
    delete FindLiveObject(kOwned, 0);
    EXPECT_TRUE(Live(0)->isEnabled());
}

TEST_F(WindowBuilderTest, AUnitWithoutCreateRoutineStopsTheBuildAndLeavesNothing) {
    FindWindowDescription(kSampleWindowId)->units[5].type = 0x00010004;  // unused position
    int before = QApplication::topLevelWidgets().size();
    EXPECT_FALSE(BuildWindow(kSampleWindowId));
    Settle();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    EXPECT_FALSE(EventsSuppressed());
    EXPECT_EQ(seen.created, 0);
    EXPECT_FALSE(BuildWindow(0x52019999)) << "an unknown window";
}

TEST_F(WindowBuilderTest, EveryEndOfAWindowRaisesEventTwoOnce) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    seen.refuseClose = true;
    Live(0)->close();
    EXPECT_EQ(seen.destroyed, 0) << "a refused close destroys nothing";
    seen.refuseClose = false;
    Live(0)->close();
    Settle();
    EXPECT_EQ(seen.destroyed, 1) << "closed, then deleted: once";
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    delete Live(0);  // destroyed by the program, no close
    EXPECT_EQ(seen.destroyed, 2);
}

TEST_F(WindowBuilderTest, AnEventOfAWindowThatIsNotLoadedIsFatal) {
    ASSERT_TRUE(BuildWindow(kSampleWindowId));
    RaiseFrom(kSampleWindowId, kPageOneButton, controls::kButtonClicked);
    EXPECT_EQ(seen.clicked, 1);
    EXPECT_EXIT(RaiseFrom(kOwned, 0, controls::kButtonClicked), ::testing::ExitedWithCode(255),
                "未找到引发事件的窗口");
}

TEST_F(WindowBuilderTest, FindingAMissingUnitThroughTheRaisingRequestIsFatal) {
    EXPECT_EQ(RuntimeNotify(kNotifyFindLiveObject, kSampleWindowId, kTab), 0);
    EXPECT_EXIT(RuntimeNotify(kNotifyFindControl, kSampleWindowId, kTab),
                ::testing::ExitedWithCode(255), "指定窗口或窗口组件不存在或尚未载入");
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(WindowBuilderTest, TheEntryTableLoadsTheStartupWindowOrEndsTheProgram) {
    Entries().LoadWindow(kSampleWindowId);
    EXPECT_TRUE(IsWindowLoaded(kSampleWindowId));
    EXPECT_EXIT(Entries().LoadWindow(0x52019999), ::testing::ExitedWithCode(255),
                "载入启动窗口失败");
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST_F(WindowBuilderTest, StartUpReadsRelocatesAndRegistersThroughTheLayer) {
    InstallWindowDescriptions({});
    ClearDataTypes();
    // The core library record carries the type table the layer registers.
    LibraryRecord core;
    core.dataTypeCount = static_cast<uint32_t>(types_.size());
    core.dataTypes = types_.data();
    const LibraryRecord* libraries[] = {&core};
    ProgramHeader header;
    header.libraryCount = 1;
    header.libraries = libraries;
    State().header = &header;

    auto block = WriteWindowBlock(std::vector<WindowRecord>{TestWindow()});
    EXPECT_FALSE(builder_.ReadDescriptions(block.data(), block.size() - 1));
    ASSERT_TRUE(builder_.ReadDescriptions(block.data(), block.size()));
    builder_.RelocateHandlers(kHandlers);
    builder_.RegisterWindows();
    State().header = nullptr;
    EXPECT_EQ(FindDataType(kTypeButton), &types_[10]);
    ASSERT_NE(FindWindowDescription(kSampleWindowId), nullptr);
    EXPECT_EQ(FindWindowDescription(kSampleWindowId)->units[0].FindBinding(0)->handler, Created);

    ASSERT_TRUE(builder_.LoadWindow(kSampleWindowId));
    EXPECT_TRUE(builder_.AnyWindowAlive());
    EXPECT_EQ(RuntimeNotify(kNotifyFindLiveObject, kSampleWindowId, kTab),
              reinterpret_cast<intptr_t>(Live(kTab)));
    builder_.DestroyAllWindows();
    EXPECT_FALSE(builder_.AnyWindowAlive());
    EXPECT_NE(FindWindowDescription(kSampleWindowId), nullptr) << "records stay";
}

TEST_F(WindowBuilderTest, OffsetsAgainstAnotherHandlerBaseAreFatal) {
    auto block = WriteWindowBlock(std::vector<WindowRecord>{TestWindow()});
    ASSERT_TRUE(builder_.ReadDescriptions(block.data(), block.size()));
    static const HandlerEntry elsewhere[8] = {};
    EXPECT_EXIT(builder_.RelocateHandlers(elsewhere), ::testing::ExitedWithCode(255),
                "载入窗口模板数据段出错!");
}

}  // namespace
}  // namespace velmora
