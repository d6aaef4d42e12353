#include "controls/list_box.h"

#include <QListWidget>
#include <QScopeGuard>

#include "controls/control_support.h"
#include "controls/list_box_data.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

using F = StoredField<ListBoxData>;
const StoredProperties<ListBoxData> kProperties(
    {F{0, &ListBoxData::border}, F{1, &ListBoxData::multiSelect},
     F{2, &ListBoxData::extendedSelect}, F{3, &ListBoxData::itemHeight},
     F{4, &ListBoxData::textColour}, F{5, &ListBoxData::background}, F{6, &ListBoxData::font},
     F{7, &ListBoxData::option15}, F{11, &ListBoxData::binding1}, F{12, &ListBoxData::binding2},
     F{13, &ListBoxData::sorted}});

// Item data words travel with the items in this role.
constexpr int kValueRole = Qt::UserRole;

void Apply(QWidget* control, const ListBoxData& d) {
    auto* list = static_cast<QListWidget*>(control);
    list->setFont(ToQFont(d.font));
    ApplyColours(list, d.textColour, d.background);
    list->setFrameShape(d.border != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
    list->setSelectionMode(d.multiSelect      ? QAbstractItemView::MultiSelection
                           : d.extendedSelect ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::SingleSelection);
}

// Changes made by the program raise nothing; the user's do.
class ListWidget : public QListWidget {
  public:
    using QListWidget::QListWidget;
    bool quiet = false;
};

bool SingleSelection(const QListWidget* list) {
    return list->selectionMode() == QAbstractItemView::SingleSelection;
}

void Fill(QListWidget* list, const std::vector<std::string>& items,
          const std::vector<int32_t>& values) {
    list->clear();
    for (size_t i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(FromGbk(items[i]), list);
        item->setData(kValueRole, i < values.size() ? values[i] : 0);
    }
}

void SelectCurrent(QListWidget* list, int32_t index) {
    if (index < 0 || index >= list->count()) {
        list->setCurrentRow(-1);
        list->clearSelection();
        return;
    }
    list->setCurrentRow(index);
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<ListBoxData>(request.data);
    if (!data) return nullptr;
    auto* list = new ListWidget(request.parent);
    list->setSortingEnabled(data->sorted != 0);
    Apply(list, *data);
    Fill(list, data->items, data->itemValues);
    SelectCurrent(list, data->current);
    list->setGeometry(request.left, request.top, request.width, request.height);
    AttachToUnit(list, request);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
        if (list->quiet) return;
        RaiseEvent(list, kListBoxSelectionChanged);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [list] { RaiseEvent(list, kListBoxDoubleClicked); });
    return list;
}

// Runs a change made by the program without the selection event.
template <typename Change>
auto Quietly(QListWidget* list, Change change) {
    auto* quiet = dynamic_cast<ListWidget*>(list);
    if (quiet) quiet->quiet = true;
    auto restore = qScopeGuard([quiet] {
        if (quiet) quiet->quiet = false;
    });
    return change();
}

std::vector<std::string> Items(const QListWidget* list) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(ToGbk(list->item(i)->text()));
    return items;
}

std::vector<int32_t> Values(const QListWidget* list) {
    std::vector<int32_t> values;
    for (int i = 0; i < list->count(); ++i)
        values.push_back(list->item(i)->data(kValueRole).toInt());
    return values;
}

int32_t Current(const QListWidget* list) {
    return list->selectedItems().isEmpty() ? -1 : list->currentRow();
}

// The live items and selection go into the record: a rebuild shows them, and
// so does a second load of the window.
void KeepLiveItems(QListWidget* list, ListBoxData& data) {
    data.items = Items(list);
    data.itemValues = Values(list);
    data.current = Current(list);
    kProperties.Store(list, data);
}

void KeepLiveItems(QListWidget* list) {
    if (auto data = kProperties.Load(list)) KeepLiveItems(list, *data);
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    auto* list = static_cast<QListWidget*>(control);
    switch (index) {
        case kListBoxCurrent:
            Quietly(list, [&] { SelectCurrent(list, value.Int()); });
            KeepLiveItems(list);
            return false;
        case kListBoxItems:
            if (auto items = TextListFrom(BytesOf(value)))
                Quietly(list, [&] { Fill(list, *items, Values(list)); });
            KeepLiveItems(list);
            return false;
        case kListBoxItemValues:
            if (auto values = WordListFrom(BytesOf(value)))
                for (int i = 0; i < list->count(); ++i)
                    list->item(i)->setData(kValueRole,
                                           i < int(values->size()) ? (*values)[size_t(i)] : 0);
            KeepLiveItems(list);
            return false;
        default:
            break;
    }
    auto data = WriteProperty(kProperties, control, index, value, Apply);
    // Sorting shapes the list at creation: the rebuild takes the live items.
    if (!data || index != kListBoxSorted) return false;
    KeepLiveItems(list, *data);
    return true;
}

ValueRecord GetProperty(QWidget* control, int index) {
    auto* list = static_cast<QListWidget*>(control);
    switch (index) {
        case kListBoxCurrent:
            return MakeInteger(Current(list));
        case kListBoxItems:
            return ValueOf(Items(list));
        case kListBoxItemValues:
            return ValueOf(Values(list));
        default:
            return ReadProperty(kProperties, control, index);
    }
}

}  // namespace

std::optional<QString> ListBoxItem(QWidget* control, int index) {
    auto* list = qobject_cast<QListWidget*>(control);
    if (!list || index < 0 || index >= list->count()) return std::nullopt;
    return list->item(index)->text();
}

int AddListBoxItem(QWidget* control, const QString& text, int32_t value) {
    auto* list = qobject_cast<QListWidget*>(control);
    if (!list) return -1;
    auto* item = new QListWidgetItem(text);
    item->setData(kValueRole, value);
    Quietly(list, [&] { list->addItem(item); });
    return list->row(item);
}

void ClearListBox(QWidget* control) {
    if (auto* list = qobject_cast<QListWidget*>(control)) Quietly(list, [&] { list->clear(); });
}

bool SelectListBoxItem(QWidget* control, int index, bool select) {
    auto* list = qobject_cast<QListWidget*>(control);
    if (!list || index < 0 || index >= list->count()) return false;
    return Quietly(list, [&] {
        if (!SingleSelection(list)) {
            list->item(index)->setSelected(select);
            return true;
        }
        SelectCurrent(list, select ? index : -1);
        return select;
    });
}

InterfaceRoutine ListBoxInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
