#include "controls/tab.h"

#include <QTabBar>
#include <QVariant>

#include "controls/control_support.h"
#include "controls/tab_data.h"
#include "runtime/notification.h"
#include "runtime/window_table.h"

namespace velmora::controls {
namespace {

constexpr char kPageProperty[] = "velmoraTabPage";
constexpr int kStripHeight = 21;

QWidget* Create(const CreateRequest& request) {
    auto data = ReadTabData(request.data);
    if (!data) return nullptr;
    auto* tab = new QWidget(request.parent);
    tab->setGeometry(request.left, request.top, request.width, request.height);
    tab->setFont(ToQFont(data->font));
    tab->setProperty(kPageProperty, 0);
    AttachToUnit(tab, request);
    if (!data->noStrip) {
        // The strip lies inside the control: children leave room for it by
        // their stored top, so nothing is shifted.
        auto* strip = new QTabBar(tab);
        for (const std::string& caption : data->pages) strip->addTab(FromGbk(caption));
        strip->setGeometry(0, 0, request.width, kStripHeight);
        QObject::connect(strip, &QTabBar::currentChanged, tab,
                         [tab](int page) { ShowTabPage(tab, page); });
    }
    return tab;
}

}  // namespace

void ShowTabPage(QWidget* tab, int page) {
    auto identity = IdentityOf(tab);
    const WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    const UnitRecord* unit = window ? window->FindUnit(identity->unitId) : nullptr;
    if (!unit) return;
    tab->setProperty(kPageProperty, page);
    int current = 0;
    for (uint32_t child : unit->children) {
        if (child == 0) {
            ++current;
            continue;
        }
        auto* widget = reinterpret_cast<QWidget*>(
            RuntimeNotify(kNotifyFindLiveObject, identity->windowId, child));
        const UnitRecord* record = window->FindUnit(child);
        if (!widget || !record) continue;
        widget->setVisible(current == page && (record->state & kStateVisible));
    }
}

int CurrentTabPage(const QWidget* tab) {
    return tab->property(kPageProperty).toInt();
}

InterfaceRoutine TabInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(Create) : nullptr;
}

}  // namespace velmora::controls
