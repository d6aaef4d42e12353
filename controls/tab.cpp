#include "controls/tab.h"

#include <QMouseEvent>
#include <QTabBar>
#include <QVariant>

#include "controls/control_support.h"
#include "controls/stored_properties.h"
#include "controls/tab_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/notification.h"
#include "runtime/property_access.h"
#include "runtime/runtime_link.h"
#include "runtime/window_table.h"

namespace velmora::controls {
namespace {

constexpr int kStripHeight = 21;

using F = StoredField<TabData>;
const StoredProperties<TabData> kProperties(
    {F{kTabSide, &TabData::position}, F{kTabMultiRow, &TabData::multiRow},
     F{kTabFont, &TabData::font}, F{kTabPages, &TabData::pages}, F{kTabNoStrip, &TabData::noStrip},
     F{kTabTransparent, &TabData::transparent}, F{kTabColour, &TabData::colour}});

// A user's click first asks event 1, which refuses the change by answering
// false; the change itself then raises event 2.
class PageStrip : public QTabBar {
  public:
    explicit PageStrip(QWidget* tab) : QTabBar(tab), tab_(tab) { setFocusPolicy(Qt::NoFocus); }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        int page = tabAt(event->pos());
        if (page >= 0 && page != currentIndex()) {
            if (!RaiseEventAllowing(tab_, 1)) return;
            QTabBar::mousePressEvent(event);
            if (currentIndex() == page) {
                ShowTabPage(tab_, page);
                FocusFirstOnPage(tab_, page);
                RaiseEvent(tab_, 2);
            }
            return;
        }
        QTabBar::mousePressEvent(event);
    }

  private:
    QWidget* tab_;
};

PageStrip* StripOf(const QWidget* tab) {
    return tab->findChild<PageStrip*>(QString(), Qt::FindDirectChildrenOnly);
}

void PlaceStrip(QWidget* tab, PageStrip* strip, uint32_t position) {
    const QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth,
                                     QTabBar::RoundedWest, QTabBar::RoundedEast};
    strip->setShape(shapes[std::min<uint32_t>(position, 3)]);
    // The strip lies inside the control: children leave room for it by their
    // stored places, so nothing is shifted.
    QSize hint = strip->sizeHint();
    switch (position) {
        case 1:
            strip->setGeometry(0, tab->height() - kStripHeight, tab->width(), kStripHeight);
            break;
        case 2:
            strip->setGeometry(0, 0, hint.width(), tab->height());
            break;
        case 3:
            strip->setGeometry(tab->width() - hint.width(), 0, hint.width(), tab->height());
            break;
        default:
            strip->setGeometry(0, 0, tab->width(), kStripHeight);
    }
}

void Apply(QWidget* tab, const TabData& d) {
    tab->setFont(ToQFont(d.font));
    // Option 14 at 0 leaves a stripless container see-through.
    bool filled = d.noStrip && d.transparent != 0;
    ApplyColours(tab, kSystemColour, filled ? d.colour : kSystemColour);
    if (PageStrip* strip = StripOf(tab)) {
        QSignalBlocker quiet(strip);
        while (strip->count() > 0) strip->removeTab(strip->count() - 1);
        for (const std::string& caption : d.pages) strip->addTab(FromGbk(caption));
        strip->setExpanding(false);
        strip->setUsesScrollButtons(!d.multiRow);
        strip->setCurrentIndex(CurrentTabPage(tab));
        PlaceStrip(tab, strip, d.position);
    }
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<TabData>(request.data);
    if (!data) return nullptr;
    auto* tab = new QWidget(request.parent);
    tab->setGeometry(request.left, request.top, request.width, request.height);
    tab->setProperty(kTabPageProperty, 0);
    // Without a strip the control is a plain container with an arrow cursor.
    if (!data->noStrip) new PageStrip(tab);
    Apply(tab, *data);
    AttachToUnit(tab, request);
    return tab;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    if (index == kTabCurrent) {
        int count = 0;
        if (const UnitRecord* unit = UnitOf(control))
            for (uint32_t child : unit->children) count += child == 0;
        int page = value.Int();
        if (page < 0 || page >= std::max(count, 1)) return false;
        if (PageStrip* strip = StripOf(control)) {
            QSignalBlocker quiet(strip);
            strip->setCurrentIndex(page);
        }
        ShowTabPage(control, page);
        return false;
    }
    uint32_t before = kProperties.Load(control).value_or(TabData{}).position;
    if (!WriteProperty(kProperties, control, index, value, Apply)) return false;
    bool rebuild = index == kTabNoStrip || (index == kTabSide && (before == 3) != (value.low == 3));
    // The rebuilt Tab opens on its first page; its children show that page
    // from the start rather than the one the old control had.
    if (rebuild) ShowTabPage(control, 0);
    return rebuild;
}

ValueRecord GetProperty(QWidget* control, int index) {
    if (index == kTabCurrent) return MakeInteger(CurrentTabPage(control));
    return ReadProperty(kProperties, control, index);
}

}  // namespace

void ShowTabPage(QWidget* tab, int page) {
    auto identity = IdentityOf(tab);
    const WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    const UnitRecord* unit = window ? window->FindUnit(identity->unitId) : nullptr;
    if (!unit) return;
    tab->setProperty(kTabPageProperty, page);
    int current = 0;
    for (uint32_t child : unit->children) {
        if (child == 0) {
            ++current;
            continue;
        }
        auto* widget = reinterpret_cast<QWidget*>(
            CallRuntime(kNotifyFindLiveObject, identity->windowId, child));
        const UnitRecord* record = window->FindUnit(child);
        if (!widget || !record) continue;
        widget->setVisible(current == page && (record->state & kStateVisible));
    }
}

int CurrentTabPage(const QWidget* tab) {
    return tab->property(kTabPageProperty).toInt();
}

void FocusFirstOnPage(QWidget* tab, int page) {
    auto identity = IdentityOf(tab);
    const WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    const UnitRecord* unit = window ? window->FindUnit(identity->unitId) : nullptr;
    if (!unit) return;
    int current = 0;
    QWidget* first = nullptr;
    uint32_t lowest = 0;
    for (uint32_t child : unit->children) {
        if (child == 0) {
            ++current;
            continue;
        }
        const UnitRecord* record = window->FindUnit(child);
        auto* widget = reinterpret_cast<QWidget*>(
            CallRuntime(kNotifyFindLiveObject, identity->windowId, child));
        if (current != page || !record || !widget || !widget->isEnabled() ||
            !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (!first || record->focusOrder < lowest) {
            first = widget;
            lowest = record->focusOrder;
        }
    }
    if (first) first->setFocus(Qt::OtherFocusReason);
}

InterfaceRoutine TabInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
