#include "controls/combo_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "controls/combo_box_data.h"
#include "controls/control_support.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

const StoredProperties<ComboBoxData>& Properties() {
    using F = StoredField<ComboBoxData>;
    static const StoredProperties<ComboBoxData> properties(
        ReadComboBoxData, WriteComboBoxData,
        {F{0, &ComboBoxData::comboType}, F{2, &ComboBoxData::maxLength},
         F{3, &ComboBoxData::selectionStart}, F{4, &ComboBoxData::selectionLength},
         F{6, &ComboBoxData::option14}, F{7, &ComboBoxData::itemHeight},
         F{8, &ComboBoxData::textColour}, F{9, &ComboBoxData::background},
         F{10, &ComboBoxData::font}, F{13, &ComboBoxData::itemValues},
         F{14, &ComboBoxData::binding1}, F{15, &ComboBoxData::binding2},
         F{16, &ComboBoxData::sorted}});
    return properties;
}

void Apply(QWidget* control, const ComboBoxData& d) {
    auto* combo = static_cast<QComboBox*>(control);
    combo->setFont(ToQFont(d.font));
    ApplyColours(combo, d.textColour, d.background);
    if (QLineEdit* field = combo->lineEdit())
        field->setMaxLength(d.maxLength > 0 ? d.maxLength : 32767);
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemData(i, i < int(d.itemValues.size()) ? d.itemValues[size_t(i)] : 0);
}

void FillItems(QComboBox* combo, const std::vector<std::string>& items, bool sorted) {
    combo->clear();
    for (const std::string& item : items) combo->addItem(FromGbk(item));
    if (sorted) combo->model()->sort(0);
}

// Above the last item means the last; below -1 means none.
void SelectClamped(QComboBox* combo, int32_t index) {
    int32_t last = static_cast<int32_t>(combo->count()) - 1;
    combo->setCurrentIndex(std::clamp(index, -1, std::max(last, -1)));
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadComboBoxData(request.data);
    if (!data) return nullptr;
    auto* combo = new QComboBox(request.parent);
    // Types 0 and 1 have an edit field; Qt draws no always-open list, so the
    // simple type is an editable field whose list drops down like type 1.
    combo->setEditable(data->comboType != 2);
    combo->setInsertPolicy(QComboBox::NoInsert);
    FillItems(combo, data->items, data->sorted != 0);
    Apply(combo, *data);
    SelectClamped(combo, data->current);
    if (combo->isEditable()) combo->setEditText(FromGbk(data->content));
    // The stored height is the field with its dropped list; the field itself
    // is as tall as the style draws it.
    int field = std::min(request.height, combo->sizeHint().height());
    int dropped = std::max(request.height, kDroppedHeight) - field;
    int row = std::max(1, combo->fontMetrics().height() + 2 + data->itemHeight);
    combo->setMaxVisibleItems(std::max(1, dropped / row));
    combo->setGeometry(request.left, request.top, request.width, field);
    AttachToUnit(combo, request);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [combo] { RaiseEvent(combo, kEventClicked); });
    return combo;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    auto* combo = static_cast<QComboBox*>(control);
    switch (index) {
        case kComboBoxContent:
            if (combo->isEditable()) combo->setEditText(FromGbk(value.Text()));
            return false;
        case kComboBoxSelectedText:
            if (QLineEdit* field = combo->lineEdit()) field->insert(FromGbk(value.Text()));
            return false;
        case kComboBoxCurrent:
            SelectClamped(combo, value.Int());
            return false;
        case kComboBoxItems: {
            auto data = Properties().Load(control);
            auto items = TextListFrom(BytesOf(value));
            if (!data || !items) return false;
            data->items = *items;
            Properties().Store(control, *data);
            FillItems(combo, *items, data->sorted != 0);
            Apply(combo, *data);
            return false;
        }
        default:
            break;
    }
    // The type and the sorting shape the box at creation.
    return WriteProperty(Properties(), control, index, value, Apply) &&
           (index == kComboBoxType || index == kComboBoxSorted);
}

ValueRecord GetProperty(QWidget* control, int index) {
    auto* combo = static_cast<QComboBox*>(control);
    switch (index) {
        case kComboBoxContent:
            return TextValue(combo->currentText());
        case kComboBoxSelectedText:
            return TextValue(combo->lineEdit() ? combo->lineEdit()->selectedText() : QString());
        case kComboBoxCurrent:
            return MakeInteger(combo->currentIndex());
        case kComboBoxItems: {
            std::vector<std::string> items;
            for (int i = 0; i < combo->count(); ++i) items.push_back(ToGbk(combo->itemText(i)));
            return ValueOf(items);
        }
        default:
            return ReadProperty(Properties(), control, index);
    }
}

}  // namespace

std::optional<QString> ComboBoxItem(QWidget* control, int index) {
    auto* combo = qobject_cast<QComboBox*>(control);
    if (!combo || index < 0 || index >= combo->count()) return std::nullopt;
    return combo->itemText(index);
}

InterfaceRoutine ComboBoxInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
