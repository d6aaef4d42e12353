#include "controls/edit_box_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>

#include "controls/edit_box_lines.h"
#include "controls/gbk_positions.h"

namespace velmora::controls {

namespace {

// A combo box's text is its edit field's.
template <typename Widget>
Widget* TextPart(Widget* box) {
    auto* combo = qobject_cast<const QComboBox*>(box);
    return combo ? combo->lineEdit() : box;
}

}  // namespace

QString Content(const QWidget* box) {
    box = TextPart(box);
    if (auto* multi = qobject_cast<const QPlainTextEdit*>(box)) return LinesText(multi);
    if (auto* single = qobject_cast<const QLineEdit*>(box)) return single->text();
    return {};
}

std::pair<int, int> Selection(const QWidget* box) {
    box = TextPart(box);
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

std::pair<int32_t, int32_t> SelectionBytes(const QWidget* box) {
    QString text = Content(box);
    auto [start, length] = Selection(box);
    auto startBytes = static_cast<int32_t>(BytesBefore(text, start));
    return {startBytes, static_cast<int32_t>(BytesBefore(text, start + length)) - startBytes};
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

void InsertTyped(QWidget* box, const QString& text) {
    if (auto* single = qobject_cast<QLineEdit*>(TextPart(box))) single->insert(text);
    if (auto* multi = qobject_cast<QPlainTextEdit*>(box)) {
        QTextCursor cursor = multi->textCursor();
        InsertLines(multi, cursor, text);
        multi->setTextCursor(cursor);
    }
}

}  // namespace velmora::controls
