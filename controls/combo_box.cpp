#include "controls/combo_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <tuple>

#include "controls/combo_box_data.h"
#include "controls/control_support.h"
#include "controls/edit_box_line.h"
#include "controls/edit_box_text.h"
#include "controls/edit_box_typing.h"
#include "controls/gbk_positions.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

using F = StoredField<ComboBoxData>;
const StoredProperties<ComboBoxData> kProperties(
    {F{0, &ComboBoxData::comboType}, F{2, &ComboBoxData::maxLength},
     F{3, &ComboBoxData::selectionStart}, F{4, &ComboBoxData::selectionLength},
     F{6, &ComboBoxData::option14}, F{7, &ComboBoxData::itemHeight},
     F{8, &ComboBoxData::textColour}, F{9, &ComboBoxData::background}, F{10, &ComboBoxData::font},
     F{13, &ComboBoxData::itemValues}, F{14, &ComboBoxData::binding1},
     F{15, &ComboBoxData::binding2}, F{16, &ComboBoxData::sorted}});

void Apply(QWidget* control, const ComboBoxData& d) {
    auto* combo = static_cast<QComboBox*>(control);
    combo->setFont(ToQFont(d.font));
    ApplyColours(combo, d.textColour, d.background);
    // The field's maximum length counts GBK bytes, as an edit box's does. Keys
    // and input methods reach the field through the combo box, pastes from
    // its menu and drops reach it directly.
    if (QLineEdit* field = combo->lineEdit()) {
        TypingRules rules{.maxLength = d.maxLength};
        SetTypingRules(combo, rules);
        SetTypingRules(field, rules);
    }
    for (int i = 0; i < combo->count(); ++i)
        combo->setItemData(i, i < int(d.itemValues.size()) ? d.itemValues[size_t(i)] : 0);
}

void FillItems(QComboBox* combo, const std::vector<std::string>& items, bool sorted) {
    combo->clear();
    for (const std::string& item : items) combo->addItem(FromGbk(item));
    if (sorted) combo->model()->sort(0);
}

// Byte positions in the edit field: start -1 drops the selection, length -1
// runs to the end of the text.
void SelectInField(QComboBox* combo, int32_t start, int32_t length) {
    QLineEdit* field = combo->lineEdit();
    if (!field) return;
    QString text = field->text();
    if (start == -1) {
        field->deselect();
        return;
    }
    int first = CharactersBefore(text, std::max(0, start));
    int last = length == -1
                   ? static_cast<int>(text.size())
                   : CharactersBefore(text, int64_t(std::max(0, start)) + std::max(0, length));
    field->setSelection(first, last - first);
}

// Above the last item means the last; below -1 means none.
void SelectClamped(QComboBox* combo, int32_t index) {
    int32_t last = static_cast<int32_t>(combo->count()) - 1;
    combo->setCurrentIndex(std::clamp(index, -1, std::max(last, -1)));
}

// The live selection, edit text and field selection go into the record: a
// rebuild shows them, and so does a second load of the window.
void KeepLiveState(QComboBox* combo, ComboBoxData& data) {
    data.current = combo->currentIndex();
    data.content = ToGbk(combo->currentText());
    if (QLineEdit* field = combo->lineEdit())
        std::tie(data.selectionStart, data.selectionLength) = SelectionBytes(field);
    kProperties.Store(combo, data);
}

void KeepLiveState(QComboBox* combo) {
    if (auto data = kProperties.Load(combo)) KeepLiveState(combo, *data);
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<ComboBoxData>(request.data);
    if (!data) return nullptr;
    auto* combo = new QComboBox(request.parent);
    // Types 0 and 1 have an edit field; Qt draws no always-open list, so the
    // simple type is an editable field whose list drops down like type 1.
    if (data->comboType != 2) combo->setLineEdit(new LineBox(combo));
    combo->setInsertPolicy(QComboBox::NoInsert);
    FillItems(combo, data->items, data->sorted != 0);
    Apply(combo, *data);
    SelectClamped(combo, data->current);
    if (combo->isEditable()) combo->setEditText(FromGbk(data->content));
    SelectInField(combo, data->selectionStart, data->selectionLength);
    // A choice shows its text from the start, as a native field does, not
    // its end with the first characters scrolled away.
    if (QLineEdit* field = combo->lineEdit())
        QObject::connect(combo, &QComboBox::currentIndexChanged, field,
                         [field] { field->home(false); });
    // The stored height is the field with its dropped list; the field itself
    // is as tall as the style draws it.
    int field = std::min(request.height, combo->sizeHint().height());
    int dropped = std::max(request.height, kDroppedHeight) - field;
    int row =
        combo->count() > 0 ? combo->view()->sizeHintForRow(0) : combo->fontMetrics().height() + 2;
    row = std::max(1, row + data->itemHeight);
    combo->setMaxVisibleItems(std::max(1, (dropped + row - 1) / row));
    combo->setGeometry(request.left, request.top, request.width, field);
    AttachToUnit(combo, request);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [combo] { RaiseEvent(combo, kComboBoxSelectionChanged); });
    return combo;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    auto* combo = static_cast<QComboBox*>(control);
    switch (index) {
        case kComboBoxContent:
            if (combo->isEditable()) combo->setEditText(FromGbk(value.Text()));
            KeepLiveState(combo);
            return false;
        case kComboBoxSelectedText:
            if (QLineEdit* field = combo->lineEdit()) field->insert(FromGbk(value.Text()));
            KeepLiveState(combo);
            return false;
        case kComboBoxCurrent:
            SelectClamped(combo, value.Int());
            KeepLiveState(combo);
            return false;
        case kComboBoxSelectionStart:
        case kComboBoxSelectionLength:
            if (QLineEdit* field = combo->lineEdit()) {
                auto [start, length] = SelectionBytes(field);
                if (index == kComboBoxSelectionStart)
                    SelectInField(combo, value.Int(), length);
                else
                    SelectInField(combo, start, value.Int());
                KeepLiveState(combo);
                return false;
            }
            break;
        case kComboBoxItems: {
            auto data = kProperties.Load(control);
            auto items = TextListFrom(BytesOf(value));
            if (!data || !items) return false;
            data->items = *items;
            kProperties.Store(control, *data);
            FillItems(combo, *items, data->sorted != 0);
            Apply(combo, *data);
            KeepLiveState(combo, *data);
            return false;
        }
        default:
            break;
    }
    auto data = WriteProperty(kProperties, control, index, value, Apply);
    // The type and the sorting shape the box at creation: the rebuild takes
    // the live selection, edit text and field selection.
    if (!data || (index != kComboBoxType && index != kComboBoxSorted)) return false;
    KeepLiveState(combo, *data);
    return true;
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
        case kComboBoxSelectionStart:
        case kComboBoxSelectionLength:
            if (const QLineEdit* field = combo->lineEdit()) {
                auto [start, length] = SelectionBytes(field);
                return MakeInteger(index == kComboBoxSelectionStart ? start : length);
            }
            break;
        case kComboBoxItems: {
            std::vector<std::string> items;
            for (int i = 0; i < combo->count(); ++i) items.push_back(ToGbk(combo->itemText(i)));
            return ValueOf(items);
        }
        default:
            break;
    }
    return ReadProperty(kProperties, control, index);
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
