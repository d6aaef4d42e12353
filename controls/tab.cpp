#include "controls/tab.h"

#include <QMouseEvent>
#include <QTabBar>
#include <QVariant>

#include "controls/control_support.h"
#include "controls/stored_properties.h"
#include "controls/tab_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"
#include "runtime/window_table.h"

namespace velmora::controls {
namespace {

constexpr int kStripHeight = 21;

class TabBox : public QWidget {
  public:
    using QWidget::QWidget;
    int page = 0;
};

using F = StoredField<TabData>;
const StoredProperties<TabData> kProperties(
    {F{kTabSide, &TabData::position}, F{kTabMultiRow, &TabData::multiRow},
     F{kTabFont, &TabData::font}, F{kTabPages, &TabData::pages}, F{kTabNoStrip, &TabData::noStrip},
     F{kTabTransparent, &TabData::transparent}, F{kTabColour, &TabData::colour}});

class PageStrip : public QTabBar {
  public:
    explicit PageStrip(QWidget* tab) : QTabBar(tab), tab_(tab) { setFocusPolicy(Qt::NoFocus); }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        int page = tabAt(event->pos());
        if (page >= 0 && page != currentIndex()) {
            if (!RaiseEventAllowing(tab_, kTabPageChanging)) return;
            QTabBar::mousePressEvent(event);
            if (currentIndex() == page) {
                ShowTabPage(tab_, page);
                FocusFirstOnPage(tab_, page);
                RaiseEvent(tab_, kTabPageChanged);
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
    tab->setAutoFillBackground(filled);  // the system colour fills too
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
    auto* tab = new TabBox(request.parent);
    tab->setGeometry(request.left, request.top, request.width, request.height);
    // Without a strip the control is a plain container with an arrow cursor.
    if (!data->noStrip) new PageStrip(tab);
    Apply(tab, *data);
    AttachToUnit(tab, request);
    return tab;
}

// The strip and the children show `page`, as a written property 12 does.
void SelectPage(QWidget* tab, int page) {
    if (PageStrip* strip = StripOf(tab)) {
        QSignalBlocker quiet(strip);
        strip->setCurrentIndex(page);
    }
    ShowTabPage(tab, page);
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    if (index == kTabCurrent) {
        const UnitRecord* unit = UnitOf(control);
        size_t count = unit ? PagesOf(*unit).size() : 0;
        int page = value.Int();
        if (page >= 0 && size_t(page) < std::max<size_t>(count, 1)) SelectPage(control, page);
        return false;
    }
    const TabData* old = kProperties.Parsed(control);
    uint32_t before = old ? old->position : TabData{}.position;
    if (!WriteProperty(kProperties, control, index, value, Apply)) return false;
    // The rebuilt Tab opens on the page this one shows (the runtime asks).
    return index == kTabNoStrip || (index == kTabSide && (before == 3) != (value.low == 3));
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
    if (auto* box = dynamic_cast<TabBox*>(tab)) box->page = page;
    auto pages = PagesOf(*unit);
    for (size_t shown = 0; shown < pages.size(); ++shown)
        for (uint32_t child : pages[shown]) {
            auto* widget = reinterpret_cast<QWidget*>(
                CallRuntime(kNotifyFindLiveObject, identity->windowId, child));
            const UnitRecord* record = window->FindUnit(child);
            if (!widget || !record) continue;
            widget->setVisible(int(shown) == page && (record->state & kStateVisible));
        }
}

int CurrentTabPage(const QWidget* tab) {
    auto* box = dynamic_cast<const TabBox*>(tab);
    return box ? box->page : 0;
}

void FocusFirstOnPage(QWidget* tab, int page) {
    auto identity = IdentityOf(tab);
    const WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    const UnitRecord* unit = window ? window->FindUnit(identity->unitId) : nullptr;
    if (!unit) return;
    auto pages = PagesOf(*unit);
    if (page < 0 || size_t(page) >= pages.size()) return;
    QWidget* first = nullptr;
    uint32_t lowest = 0;
    for (uint32_t child : pages[size_t(page)]) {
        const UnitRecord* record = window->FindUnit(child);
        auto* widget = reinterpret_cast<QWidget*>(
            CallRuntime(kNotifyFindLiveObject, identity->windowId, child));
        if (!record || !widget || !widget->isEnabled() || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        if (!first || record->focusOrder < lowest) {
            first = widget;
            lowest = record->focusOrder;
        }
    }
    if (first) first->setFocus(Qt::OtherFocusReason);
}

InterfaceRoutine TabInterface(int request) {
    if (request == kRequestCurrentPage) return reinterpret_cast<InterfaceRoutine>(CurrentTabPage);
    if (request == kRequestShowPage) return reinterpret_cast<InterfaceRoutine>(SelectPage);
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
