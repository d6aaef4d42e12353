#include "controls/window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

#include "controls/control_support.h"
#include "controls/window_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/notification.h"

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

  protected:
    void closeEvent(QCloseEvent* event) override {
        std::optional<uint32_t> result;
        bool ran = RaiseEvent(this, kEventCloseRequest, &result);
        if (ran && result && *result == 0) {
            event->ignore();
            return;
        }
        event->accept();
        RaiseEvent(this, kEventDestroyed);
    }

    void moveEvent(QMoveEvent* event) override {
        if (event->pos() == reportedPos_) return;
        reportedPos_ = event->pos();
        RaiseEvent(this, kEventMoved);
    }

    void resizeEvent(QResizeEvent* event) override {
        if (event->size() == reportedSize_) return;
        reportedSize_ = event->size();
        RaiseEvent(this, kEventResized);
    }

  private:
    QPoint reportedPos_;
    QSize reportedSize_;
};

QWidget* Create(const CreateRequest& request) {
    auto data = ReadWindowData(request.data);
    if (!data) return nullptr;
    auto* window = new WindowWidget(request.parent);
    window->setWindowTitle(FromGbk(data->caption));
    FrameSize frame = FrameOf(data->border);
    int width = std::max(0, request.width - 2 * frame.side);
    int height = std::max(0, request.height - frame.top - frame.bottom);
    QPoint at(request.left, request.top);
    if (data->position == 1)
        if (QScreen* screen = QGuiApplication::primaryScreen())
            at = screen->availableGeometry().center() -
                 QPoint(request.width / 2, request.height / 2);
    window->setGeometry(at.x(), at.y(), width, height);
    if (data->border == 2 || data->border == 4 || data->border == 6)
        window->setFixedSize(width, height);
    AttachToUnit(window, request);
    window->SettleGeometry();
    uint32_t windowId = request.windowId;
    QObject::connect(window, &QObject::destroyed,
                     [windowId] { RuntimeNotify(kNotifyWindowDestroyed, windowId, 0); });
    return window;
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
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(Create) : nullptr;
}

}  // namespace velmora::controls
