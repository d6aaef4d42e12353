// The text and selection of an edit box in either form (a single-line
// QLineEdit or a multi-line QPlainTextEdit), or of a combo box's edit field,
// in characters of the text the properties show and in bytes of its GBK form.
#pragma once

#include <QString>
#include <cstdint>
#include <utility>

class QWidget;

namespace velmora::controls {

QString Content(const QWidget* box);

// Selection in characters of Content: start and length.
std::pair<int, int> Selection(const QWidget* box);
// The same in GBK bytes, as the properties give it.
std::pair<int32_t, int32_t> SelectionBytes(const QWidget* box);

void Select(QWidget* box, int start, int length);
// Byte positions as the properties give them: start -1 is the end of the
// text, length -1 the whole text from its start; other negatives are 0.
void SelectBytes(QWidget* box, int32_t start, int32_t length);

// Inserts at the caret, replacing the selection; a change like any typed one.
void InsertTyped(QWidget* box, const QString& text);

}  // namespace velmora::controls
