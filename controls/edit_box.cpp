#include "controls/edit_box.h"

#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <tuple>

#include "controls/control_support.h"
#include "controls/edit_box_adjuster.h"
#include "controls/edit_box_data.h"
#include "controls/edit_box_line.h"
#include "controls/edit_box_lines.h"
#include "controls/edit_box_text.h"
#include "controls/edit_box_typing.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"
#include "runtime/heap.h"

namespace velmora::controls {
namespace {

using F = StoredField<EditBoxData>;
const StoredProperties<EditBoxData> kProperties(
    {F{1, &EditBoxData::border}, F{2, &EditBoxData::textColour}, F{3, &EditBoxData::background},
     F{4, &EditBoxData::font}, F{5, &EditBoxData::hideSelection}, F{6, &EditBoxData::maxLength},
     F{7, &EditBoxData::multiLine}, F{8, &EditBoxData::scrollBars}, F{9, &EditBoxData::alignment},
     F{10, &EditBoxData::inputMode}, F{12, &EditBoxData::letterCase}, F{13, &EditBoxData::adjuster},
     F{14, &EditBoxData::adjusterLow}, F{15, &EditBoxData::adjusterHigh},
     F{19, &EditBoxData::binding1}, F{20, &EditBoxData::binding2}});

// Qt sends a multi-line box's pastes and drops alike through here.
class TextBox : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;

  protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (!source->hasText() || !InsertFitting(this, source->text()))
            QPlainTextEdit::insertFromMimeData(source);
    }
};

// With hide-selection off the selection is painted in the focused colours
// when the box has no focus; with it on, not painted at all.
void ShowSelection(QWidget* box, bool show) {
    if (auto* line = dynamic_cast<LineBox*>(box)) line->keepSelection = show;
    QPalette palette = box->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        QBrush shown = palette.brush(QPalette::Active, role);
        QBrush hidden = palette.brush(
            QPalette::Inactive, role == QPalette::Highlight ? QPalette::Base : QPalette::Text);
        palette.setBrush(QPalette::Inactive, role, show ? shown : hidden);
    }
    box->setPalette(palette);
}

// Mode 2 shows the stored password character in place of each character;
// the character 0 shows the text itself.
void ApplyPasswordCharacter(QLineEdit* box, const EditBoxData& d) {
    bool hidden = d.inputMode == 2 && d.passwordChar != 0;
    box->setEchoMode(hidden ? QLineEdit::Password : QLineEdit::Normal);
    char16_t shown = d.passwordChar < 0x80 ? d.passwordChar : u'*';
    box->setStyleSheet(
        hidden ? QString("QLineEdit { lineedit-password-character: %1; }").arg(int(shown))
               : QString());
}

QColor SystemBackground(QWidget* box, uint32_t background) {
    // The box's own "system default" background is the button face.
    return background == kSystemColour ? box->palette().color(QPalette::Button) : QColor();
}

void Apply(QWidget* box, const EditBoxData& d) {
    ApplyColours(box, d.textColour, d.background);
    if (QColor face = SystemBackground(box, d.background); face.isValid()) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, face);
        box->setPalette(palette);
    }
    box->setFont(ToQFont(d.font));
    SetTypingRules(box, {d.inputMode, d.letterCase, d.maxLength});
    ShowSelection(box, d.hideSelection == 0);
    Qt::Alignment align = d.alignment == 1   ? Qt::AlignHCenter
                          : d.alignment == 2 ? Qt::AlignRight
                                             : Qt::AlignLeft;
    if (auto* single = qobject_cast<QLineEdit*>(box)) {
        single->setFrame(d.border != 0);
        ApplyPasswordCharacter(single, d);
        single->setReadOnly(d.inputMode == 1);
        single->setAlignment(align | Qt::AlignVCenter);
        if (auto* adjuster = single->findChild<Adjuster*>("adjuster"))
            adjuster->SetRange(d.adjusterLow, d.adjusterHigh);
    }
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        multi->setFrameShape(d.border != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
        multi->setReadOnly(d.inputMode == 1);
        QTextOption option = multi->document()->defaultTextOption();
        option.setAlignment(align);
        multi->document()->setDefaultTextOption(option);
    }
}

void SetContent(QWidget* box, const QString& text) {
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        SetLines(multi, text);
    }
    if (auto* single = qobject_cast<QLineEdit*>(box)) {
        // Writing the content is a change even when the text stays the same.
        if (single->text() == text) RaiseEvent(single, kEditBoxChanged);
        single->setText(text);
    }
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<EditBoxData>(request.data);
    if (!data) return nullptr;
    QWidget* box;
    QString content = WithCase(FromGbk(data->content), data->letterCase);
    if (data->multiLine) {
        auto* edit = new TextBox(request.parent);
        SetLines(edit, content);
        bool horizontal = data->scrollBars == 1 || data->scrollBars == 3;
        bool vertical = data->scrollBars == 2 || data->scrollBars == 3;
        edit->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEditBoxChanged); });
        box = edit;
    } else {
        auto* edit = new LineBox(content, request.parent);
        if (data->adjuster != 0) new Adjuster(edit);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEditBoxChanged); });
        box = edit;
    }
    box->setGeometry(request.left, request.top, request.width, request.height);
    Apply(box, *data);
    SelectBytes(box, data->selectionStart, data->selectionLength);
    AttachToUnit(box, request);
    return box;
}

// The live text and selection go into the record: a rebuild shows what was
// typed, and a second load of the window what the program wrote.
void KeepLiveText(QWidget* control, EditBoxData& data) {
    data.content = ToGbk(Content(control));
    std::tie(data.selectionStart, data.selectionLength) = SelectionBytes(control);
    kProperties.Store(control, data);
}

void KeepLiveText(QWidget* control) {
    if (auto data = kProperties.Load(control)) KeepLiveText(control, *data);
}

// These shape the box at creation: the rebuild re-creates it from the record,
// which first takes the live text so that nothing typed is lost.
bool NeedsRebuild(int index, const EditBoxData& data) {
    switch (index) {
        case kEditBoxHideSelection:
        case kEditBoxMultiLine:
            return true;
        case kEditBoxScrollBars:
            return data.multiLine != 0;
        case kEditBoxAdjuster:
            return data.multiLine == 0;
        default:
            return false;
    }
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    switch (index) {
        case kEditBoxContent: {
            uint32_t letterCase = TypingRulesOf(control).letterCase;
            SetContent(control, WithCase(FromGbk(value.Text()), letterCase));
            KeepLiveText(control);
            return false;
        }
        case kEditBoxPasswordChar: {
            auto data = kProperties.Load(control);
            if (!data) return false;
            std::string text = value.Text();
            data->passwordChar = text.empty() ? 0 : static_cast<uint8_t>(text[0]);
            kProperties.Store(control, *data);
            Apply(control, *data);
            return false;
        }
        case kEditBoxSelectionStart:
        case kEditBoxSelectionLength: {
            auto [startBytes, lengthBytes] = SelectionBytes(control);
            if (index == kEditBoxSelectionStart)
                SelectBytes(control, value.Int(), lengthBytes);
            else
                SelectBytes(control, startBytes, value.Int());
            KeepLiveText(control);
            return false;
        }
        case kEditBoxSelectedText:
            InsertTyped(control, FromGbk(value.Text()));
            KeepLiveText(control);
            return false;
        default:
            break;
    }
    auto data = WriteProperty(kProperties, control, index, value, Apply);
    if (!data || !NeedsRebuild(index, *data)) return false;
    KeepLiveText(control, *data);
    return true;
}

ValueRecord GetProperty(QWidget* control, int index) {
    switch (index) {
        case kEditBoxContent:
            return TextValue(Content(control));
        case kEditBoxPasswordChar: {
            const EditBoxData* data = kProperties.Parsed(control);
            char c = data ? static_cast<char>(data->passwordChar) : '*';
            return c ? MakeTextValue(MakeText(&c, 1)) : MakeTextValue(nullptr);
        }
        case kEditBoxSelectionStart:
            return MakeInteger(SelectionBytes(control).first);
        case kEditBoxSelectionLength:
            return MakeInteger(SelectionBytes(control).second);
        case kEditBoxSelectedText: {
            auto [start, length] = Selection(control);
            return TextValue(Content(control).mid(start, length));
        }
        default:
            return ReadProperty(kProperties, control, index);
    }
}

}  // namespace

void AppendToEditBox(QWidget* box, const QString& text) {
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor end(multi->document());
        end.movePosition(QTextCursor::End);
        multi->setTextCursor(end);
        multi->ensureCursorVisible();
        // An append is no step the user could undo.
        bool undo = multi->document()->isUndoRedoEnabled();
        multi->document()->setUndoRedoEnabled(false);
        QTextCursor cursor = multi->textCursor();
        InsertLines(multi, cursor, text);
        multi->setTextCursor(cursor);
        multi->document()->setUndoRedoEnabled(undo);
        multi->ensureCursorVisible();
    } else if (auto* single = qobject_cast<QLineEdit*>(box)) {
        single->end(false);
        single->setText(single->text() + text);
        single->end(false);
    }
}

InterfaceRoutine EditBoxInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
