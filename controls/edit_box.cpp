#include "controls/edit_box.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "controls/control_support.h"
#include "controls/edit_box_data.h"
#include "runtime/event_dispatch.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"
#include "runtime/window_table.h"

namespace velmora::controls {
namespace {

QWidget* Create(const CreateRequest& request) {
    auto data = ReadEditBoxData(request.data);
    if (!data) return nullptr;
    QWidget* box;
    QString content = FromGbk(data->content);
    if (data->multiLine) {
        auto* edit = new QPlainTextEdit(content, request.parent);
        edit->setLineWrapMode(data->scrollBars & 1 ? QPlainTextEdit::NoWrap
                                                   : QPlainTextEdit::WidgetWidth);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEventClicked); });
        box = edit;
    } else {
        auto* edit = new QLineEdit(content, request.parent);
        if (data->maxLength > 0) edit->setMaxLength(data->maxLength);
        if (data->inputMode == 2) edit->setEchoMode(QLineEdit::Password);
        edit->setReadOnly(data->inputMode == 1);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEventClicked); });
        box = edit;
    }
    box->setGeometry(request.left, request.top, request.width, request.height);
    box->setFont(ToQFont(data->font));
    AttachToUnit(box, request);
    return box;
}

QString Content(QWidget* control) {
    if (auto* multi = qobject_cast<QPlainTextEdit*>(control)) return multi->toPlainText();
    if (auto* single = qobject_cast<QLineEdit*>(control)) return single->text();
    return {};
}

// Options that only take effect at creation are kept in the unit's stored
// data, from which the rebuild re-creates the box.
bool StoreOption(QWidget* control, uint32_t EditBoxData::*field, uint32_t value) {
    auto identity = IdentityOf(control);
    WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    UnitRecord* unit = window ? window->FindUnit(identity->unitId) : nullptr;
    if (!unit) return false;
    auto data = ReadEditBoxData(unit->typeData);
    if (!data) return false;
    data->content = Utf16ToGbkLossy(Content(control).toStdU16String());
    (*data).*field = value;
    unit->typeData = WriteEditBoxData(*data);
    return true;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    switch (index) {
        case kEditBoxContent: {
            QString text = FromGbk(value.Text());
            if (auto* multi = qobject_cast<QPlainTextEdit*>(control)) multi->setPlainText(text);
            if (auto* single = qobject_cast<QLineEdit*>(control)) single->setText(text);
            return false;
        }
        case kEditBoxHideSelection:
            return StoreOption(control, &EditBoxData::hideSelection, value.Logical() ? 1 : 0);
        case kEditBoxMultiLine:
            return StoreOption(control, &EditBoxData::multiLine, value.Logical() ? 1 : 0);
        default:
            return false;
    }
}

ValueRecord GetProperty(QWidget* control, int index) {
    if (index != kEditBoxContent) return Omitted();
    std::string gbk = Utf16ToGbkLossy(Content(control).toStdU16String());
    return MakeTextValue(MakeText(gbk.data(), static_cast<long>(gbk.size())));
}

}  // namespace

InterfaceRoutine EditBoxInterface(int request) {
    switch (request) {
        case kRequestCreate:
            return reinterpret_cast<InterfaceRoutine>(Create);
        case kRequestSetProperty:
            return reinterpret_cast<InterfaceRoutine>(SetProperty);
        case kRequestGetProperty:
            return reinterpret_cast<InterfaceRoutine>(GetProperty);
        default:
            return nullptr;
    }
}

}  // namespace velmora::controls
