#include "controls/window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

#include "controls/control_support.h"
#include "controls/icon_file.h"
#include "controls/stored_properties.h"
#include "controls/window_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"

namespace velmora::controls {
namespace {

class WindowWidget : public QWidget {
  public:
    WindowWidget(QWidget* owner) : QWidget(owner, Qt::Window) {
        setAttribute(Qt::WA_DeleteOnClose);
    }

    // Geometry as created: the move and resize events it causes are not news.
    void SettleGeometry() {
        reportedPos_ = pos();
        reportedSize_ = size();
    }

    // However the window goes (closed, or destroyed by the program), event 2
    // comes once, while its controls still live; a window the runtime no
    // longer holds (its layer already gone) has nobody to tell.
    ~WindowWidget() override {
        auto identity = IdentityOf(this);
        if (identity && CallRuntime(kNotifyFindLiveObject, identity->windowId, 0) ==
                            reinterpret_cast<intptr_t>(this))
            ReportDestroyed();
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (!RaiseEventAllowing(this, kWindowCloseRequest)) {
            event->ignore();
            return;
        }
        event->accept();
        ReportDestroyed();
    }

    void moveEvent(QMoveEvent* event) override {
        if (event->pos() == reportedPos_) return;
        reportedPos_ = event->pos();
        RaiseEvent(this, kWindowMoved);
    }

    void resizeEvent(QResizeEvent* event) override {
        if (event->size() == reportedSize_) return;
        reportedSize_ = event->size();
        RaiseEvent(this, kWindowResized);
    }

  private:
    void ReportDestroyed() {
        if (destroyedReported_) return;
        destroyedReported_ = true;
        RaiseEvent(this, kWindowDestroyed);
    }

    bool destroyedReported_ = false;
    QPoint reportedPos_;
    QSize reportedSize_;
};

using F = StoredField<WindowData>;
const StoredProperties<WindowData> kProperties(
    {F{0, &WindowData::caption},
     F{1, &WindowData::border},
     F{2, &WindowData::background},
     F{3, &WindowData::picture},
     F{4, &WindowData::displayOption},
     F{5, &WindowData::music},
     F{7, &WindowData::controlBox},
     F{8, &WindowData::maximiseButton},
     F{9, &WindowData::minimiseButton},
     F{10, &WindowData::position},
     F{11, &WindowData::movable},
     F{12, &WindowData::icon},
     F{13, [](WindowData& d) -> uint32_t& { return d.furtherOptions[0]; }},
     F{14, [](WindowData& d) -> uint32_t& { return d.furtherOptions[1]; }},
     F{15, [](WindowData& d) -> uint32_t& { return d.furtherOptions[2]; }},
     F{16, [](WindowData& d) -> uint32_t& { return d.furtherOptions[3]; }},
     F{17, [](WindowData& d) -> uint32_t& { return d.furtherOptions[4]; }},
     F{18, &WindowData::optionV2},
     F{19, [](WindowData& d) -> uint32_t& { return d.optionsV3[0]; }},
     F{20, [](WindowData& d) -> uint32_t& { return d.optionsV3[1]; }},
     F{21, &WindowData::alwaysOnTop},
     F{22, &WindowData::optionV5},
     F{23, &WindowData::className}});

// Border style, buttons and stacking become the window's flags; a change of
// flags hides the window, so a shown one is shown again.
Qt::WindowFlags FlagsOf(const WindowData& d) {
    Qt::WindowFlags flags = d.border == 3 || d.border == 4 ? Qt::Tool : Qt::Window;
    if (d.border == 0) return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (d.controlBox) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (d.controlBox && d.maximiseButton) flags |= Qt::WindowMaximizeButtonHint;
    if (d.controlBox && d.minimiseButton) flags |= Qt::WindowMinimizeButtonHint;
    if (d.alwaysOnTop) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

bool FixedBorder(uint32_t border) {
    return border == 0 || border == 2 || border == 4 || border == 6;
}

void Apply(QWidget* window, const WindowData& d) {
    window->setWindowTitle(FromGbk(d.caption));
    ApplyColours(window, kSystemColour, d.background);
    window->setWindowIcon(IconFromFile(d.icon));
    if (window->windowFlags() != FlagsOf(d)) {
        bool shown = window->isVisible();
        window->setWindowFlags(FlagsOf(d));
        if (shown) window->show();
    }
    if (FixedBorder(d.border))
        window->setFixedSize(window->size());
    else
        window->setMinimumSize(0, 0), window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<WindowData>(request.data);
    if (!data) return nullptr;
    auto* window = new WindowWidget(request.parent);
    FrameSize frame = FrameOf(data->border);
    int width = std::max(0, request.width - 2 * frame.side);
    int height = std::max(0, request.height - frame.top - frame.bottom);
    // The stored rectangle is the outer one: centring places the frame on
    // the whole screen, and move() places the frame, as left and top read it.
    QPoint at(request.left, request.top);
    // Half the room left on each side; QRect::center() is one pixel short of it.
    if (data->position == 1)
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect area = screen->geometry();
            at = area.topLeft() +
                 QPoint((area.width() - request.width) / 2, (area.height() - request.height) / 2);
        }
    window->resize(width, height);
    window->move(at);
    Apply(window, *data);
    if (data->position == 2) window->setWindowState(Qt::WindowMinimized);
    if (data->position == 3) window->setWindowState(Qt::WindowMaximized);
    AttachToUnit(window, request);
    window->SettleGeometry();
    uint32_t windowId = request.windowId;
    QObject::connect(window, &QObject::destroyed,
                     [windowId] { CallRuntime(kNotifyWindowDestroyed, windowId); });
    return window;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    WriteProperty(kProperties, control, index, value, Apply);
    return false;
}

ValueRecord GetProperty(QWidget* control, int index) {
    if (index == 0) return TextValue(control->windowTitle());
    return ReadProperty(kProperties, control, index);
}

QMargins FrameMargins(const QWidget* window) {
    const WindowData* d = kProperties.Parsed(window);
    FrameSize frame = FrameOf(d ? d->border : WindowData{}.border);
    return {frame.side, frame.top, frame.side, frame.bottom};
}

}  // namespace

FrameSize FrameOf(uint32_t borderStyle) {
    switch (borderStyle) {
        case 0:
            return {0, 0, 0};
        case 3:
        case 4:
            return {3, 3 + 16, 3};  // tool windows have a lower caption
        default:
            return {3, 3 + 22, 3};
    }
}

InterfaceRoutine WindowInterface(int request) {
    if (request == kRequestFrameMargins) return reinterpret_cast<InterfaceRoutine>(FrameMargins);
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
