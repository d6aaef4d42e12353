#include "controls/edit_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>

#include "controls/control_support.h"
#include "controls/edit_box_data.h"
#include "controls/edit_box_lines.h"
#include "controls/gbk_positions.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"

namespace velmora::controls {
namespace {

constexpr char kInputModeProperty[] = "velmoraInputMode";
constexpr char kLetterCaseProperty[] = "velmoraLetterCase";
constexpr char kMaxLengthProperty[] = "velmoraMaxLength";

const StoredProperties<EditBoxData> kProperties({{1, &EditBoxData::border},
                                                 {2, &EditBoxData::textColour},
                                                 {3, &EditBoxData::background},
                                                 {4, &EditBoxData::font},
                                                 {5, &EditBoxData::hideSelection},
                                                 {6, &EditBoxData::maxLength},
                                                 {7, &EditBoxData::multiLine},
                                                 {8, &EditBoxData::scrollBars},
                                                 {9, &EditBoxData::alignment},
                                                 {10, &EditBoxData::inputMode},
                                                 {12, &EditBoxData::letterCase},
                                                 {13, &EditBoxData::adjuster},
                                                 {14, &EditBoxData::adjusterLow},
                                                 {15, &EditBoxData::adjusterHigh},
                                                 {19, &EditBoxData::binding1},
                                                 {20, &EditBoxData::binding2}});

QString WithCase(const QString& text, uint32_t letterCase) {
    if (letterCase == 1) return text.toLower();
    if (letterCase == 2) return text.toUpper();
    return text;
}

QString Content(const QWidget* control) {
    if (auto* multi = qobject_cast<const QPlainTextEdit*>(control)) return LinesText(multi);
    if (auto* single = qobject_cast<const QLineEdit*>(control)) return single->text();
    return {};
}

// Selection in characters of Content: start and length.
std::pair<int, int> Selection(const QWidget* box) {
    if (auto* single = qobject_cast<const QLineEdit*>(box)) {
        if (!single->hasSelectedText()) return {single->cursorPosition(), 0};
        return {single->selectionStart(), static_cast<int>(single->selectedText().size())};
    }
    if (auto* multi = qobject_cast<const QPlainTextEdit*>(box)) {
        QTextCursor c = multi->textCursor();
        int start = TextPosition(multi, c.selectionStart());
        return {start, TextPosition(multi, c.selectionEnd()) - start};
    }
    return {0, 0};
}

// Inserts at the caret, replacing the selection; a change like any typed one.
void InsertTyped(QWidget* box, const QString& text) {
    if (auto* single = qobject_cast<QLineEdit*>(box)) single->insert(text);
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = multi->textCursor();
        InsertLines(multi, cursor, text);
        multi->setTextCursor(cursor);
    }
}

// The maximum length counts GBK bytes and holds back only what the user
// types or pastes; text written through the properties may exceed it.
// Returns the part of `typed` that still fits.
QString FittingPart(const QWidget* box, const QString& typed) {
    int64_t limit = box->property(kMaxLengthProperty).toLongLong();
    if (limit <= 0) return typed;
    auto [start, length] = Selection(box);
    QString text = Content(box);
    int64_t room = limit - GbkBytes(text) + GbkBytes(text.mid(start, length));
    qsizetype fits = 0;
    for (int64_t used = 0; fits < typed.size(); ++fits) {
        // A CR LF goes in whole or not at all.
        qsizetype width = typed.mid(fits, 2) == "\r\n" ? 2 : 1;
        used += GbkBytes(typed.mid(fits, width));
        if (used > room) break;
        fits += width - 1;
    }
    return typed.left(fits);
}

// The text a key press puts into the box; Enter in a multi-line box is a
// line end, counted as two bytes.
QString TypedText(const QWidget* box, const QKeyEvent* key) {
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) return qobject_cast<const QPlainTextEdit*>(box) ? "\r\n" : QString();
    QString text = key->text();
    return text.isEmpty() || text[0].unicode() < 32 ? QString() : text;
}

// Typed characters pass the input mode's filter and take the letter case;
// text written through the content property goes around both.
class TypedCharacters : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::InputMethod) {
            auto* input = static_cast<QInputMethodEvent*>(event);
            return FittingPart(box, input->commitString()) != input->commitString();
        }
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) return Paste(box);
        QString text = TypedText(box, key);
        if (FittingPart(box, text) != text) return true;
        if (text.isEmpty() || text[0].unicode() < 32) return false;
        uint32_t mode = box->property(kInputModeProperty).toUInt();
        for (QChar c : text)
            if (!InputModeAccepts(mode, c.unicode())) return true;
        QString cased = WithCase(text, box->property(kLetterCaseProperty).toUInt());
        if (cased == text) return false;
        InsertTyped(box, cased);
        return true;
    }

  private:
    // Pastes what of the clipboard fits; false leaves an unlimited box to Qt.
    static bool Paste(QWidget* box) {
        if (box->property(kMaxLengthProperty).toLongLong() <= 0) return false;
        if (!box->isEnabled() || box->property(kInputModeProperty).toUInt() == 1) return true;
        QString pasted = QGuiApplication::clipboard()->text();
        if (qobject_cast<QLineEdit*>(box)) pasted.replace('\r', ' ').replace('\n', ' ');
        InsertTyped(box, FittingPart(box, pasted));
        return true;
    }
};

TypedCharacters* TypedFilter() {
    static TypedCharacters* filter = new TypedCharacters;
    return filter;
}

// The up-down arrows inside the right edge of a single-line box: each step
// moves the box's number by one within (smaller bound, larger bound).
class Adjuster : public QWidget {
  public:
    explicit Adjuster(QLineEdit* box) : QWidget(box), box_(box) {
        setObjectName("adjuster");
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int step : {1, -1}) {
            auto* arrow = new QToolButton(this);
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            connect(arrow, &QToolButton::clicked, this, [this, step] { Step(step); });
            layout->addWidget(arrow);
        }
        box->installEventFilter(this);
        Place();
    }
    void SetRange(int32_t a, int32_t b) {
        low_ = std::min(a, b);
        high_ = std::max(a, b);
    }
    void Step(int step) {
        bool ok = false;
        int64_t value = box_->text().toLongLong(&ok);
        if (!ok) value = low_;
        value = std::clamp<int64_t>(value + step, low_, high_);
        box_->setText(QString::number(value));
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) Place();
        return false;
    }

  private:
    void Place() {
        int width = std::min(16, box_->width() / 2);
        setGeometry(box_->width() - width, 0, width, box_->height());
        box_->setTextMargins(0, 0, width, 0);
    }
    QLineEdit* box_;
    int32_t low_ = 0;
    int32_t high_ = 100;
};

// Qt drops a line's selection when it loses the focus; with hide-selection
// off the box keeps it, as it keeps it visible.
class LineBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    bool keepSelection = false;

  protected:
    void focusOutEvent(QFocusEvent* event) override {
        int start = selectionStart(), length = static_cast<int>(selectedText().size());
        QLineEdit::focusOutEvent(event);
        if (keepSelection && length > 0 && !hasSelectedText()) setSelection(start, length);
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
    box->setProperty(kInputModeProperty, d.inputMode);
    box->setProperty(kLetterCaseProperty, d.letterCase);
    box->setProperty(kMaxLengthProperty, d.maxLength);
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

void Select(QWidget* box, int start, int length) {
    if (auto* single = qobject_cast<QLineEdit*>(box)) single->setSelection(start, length);
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor c = multi->textCursor();
        c.setPosition(DocumentPosition(multi, start));
        c.setPosition(DocumentPosition(multi, start + length), QTextCursor::KeepAnchor);
        multi->setTextCursor(c);
        multi->ensureCursorVisible();
    }
}

// Byte positions as the properties give them: start -1 is the end of the
// text, length -1 the whole text from its start; other negatives are 0.
void SelectBytes(QWidget* box, int32_t start, int32_t length) {
    QString text = Content(box);
    int64_t total = BytesBefore(text, static_cast<int>(text.size()));
    int64_t from = start == -1 ? total : std::max(0, start);
    int64_t count = length < 0 ? 0 : length;
    if (start == -1) count = 0;
    if (length == -1) from = 0, count = total;
    int first = CharactersBefore(text, from);
    int last = CharactersBefore(text, from + count);
    Select(box, first, last - first);
}

void SetContent(QWidget* box, const QString& text) {
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        SetLines(multi, text);
    }
    if (auto* single = qobject_cast<QLineEdit*>(box)) {
        // Writing the content is a change even when the text stays the same.
        if (single->text() == text) RaiseEvent(single, kEventClicked);
        single->setText(text);
    }
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<EditBoxData>(request.data);
    if (!data) return nullptr;
    QWidget* box;
    QString content = WithCase(FromGbk(data->content), data->letterCase);
    if (data->multiLine) {
        auto* edit = new QPlainTextEdit(request.parent);
        SetLines(edit, content);
        bool horizontal = data->scrollBars == 1 || data->scrollBars == 3;
        bool vertical = data->scrollBars == 2 || data->scrollBars == 3;
        edit->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEventClicked); });
        box = edit;
    } else {
        auto* edit = new LineBox(content, request.parent);
        if (data->adjuster != 0) new Adjuster(edit);
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit] { RaiseEvent(edit, kEventClicked); });
        box = edit;
    }
    box->setGeometry(request.left, request.top, request.width, request.height);
    Apply(box, *data);
    box->installEventFilter(TypedFilter());
    SelectBytes(box, data->selectionStart, data->selectionLength);
    AttachToUnit(box, request);
    return box;
}

// These shape the box at creation: the rebuild re-creates it from the record,
// which first takes the live content so that nothing typed is lost.
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
            uint32_t letterCase = control->property(kLetterCaseProperty).toUInt();
            SetContent(control, WithCase(FromGbk(value.Text()), letterCase));
            // Written content outlives the window: a second load shows it.
            if (auto data = kProperties.Load(control)) {
                data->content = ToGbk(Content(control));
                kProperties.Store(control, *data);
            }
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
            QString text = Content(control);
            auto [start, length] = Selection(control);
            int32_t startBytes = static_cast<int32_t>(BytesBefore(text, start));
            int32_t lengthBytes =
                static_cast<int32_t>(BytesBefore(text, start + length)) - startBytes;
            if (index == kEditBoxSelectionStart)
                SelectBytes(control, value.Int(), lengthBytes);
            else
                SelectBytes(control, startBytes, value.Int());
            return false;
        }
        case kEditBoxSelectedText:
            InsertTyped(control, FromGbk(value.Text()));
            return false;
        default:
            break;
    }
    if (!WriteProperty(kProperties, control, index, value, Apply)) return false;
    auto data = kProperties.Load(control);
    if (!data || !NeedsRebuild(index, *data)) return false;
    data->content = ToGbk(Content(control));
    kProperties.Store(control, *data);
    return true;
}

ValueRecord GetProperty(QWidget* control, int index) {
    QString text = Content(control);
    auto [start, length] = Selection(control);
    switch (index) {
        case kEditBoxContent:
            return TextValue(text);
        case kEditBoxPasswordChar: {
            auto data = kProperties.Load(control);
            char c = data ? static_cast<char>(data->passwordChar) : '*';
            return c ? MakeTextValue(MakeText(&c, 1)) : MakeTextValue(nullptr);
        }
        case kEditBoxSelectionStart:
            return MakeInteger(static_cast<int32_t>(BytesBefore(text, start)));
        case kEditBoxSelectionLength:
            return MakeInteger(
                static_cast<int32_t>(BytesBefore(text, start + length) - BytesBefore(text, start)));
        case kEditBoxSelectedText:
            return TextValue(text.mid(start, length));
        default:
            return ReadProperty(kProperties, control, index);
    }
}

}  // namespace

bool InputModeAccepts(uint32_t inputMode, char16_t c) {
    if (c < 32) return true;
    bool digit = c >= '0' && c <= '9';
    switch (inputMode) {
        case 3:
        case 6:
        case 7:
        case 8:
            return digit || c == '-';
        case 4:
        case 9:
        case 10:
            return digit || c == '-' || c == '.';
        case 5:
            return digit;
        default:
            return true;
    }
}

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
