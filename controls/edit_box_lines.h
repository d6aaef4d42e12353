// The text of a multi-line edit box with the line ends it was given: each
// line remembers whether CR LF, LF or a lone CR closed it, so a template
// comes back byte for byte. Lines without a remembered end (typed or pasted
// by the user) take the box's first remembered end, CR LF in a box that has
// none.
#pragma once

#include <QString>

class QPlainTextEdit;
class QTextCursor;

namespace velmora::controls {

// Both writers give the box one textChanged, after the line ends are in place.
void SetLines(QPlainTextEdit* box, const QString& text);
// Inserts at the cursor, replacing its selection.
void InsertLines(QPlainTextEdit* box, QTextCursor& cursor, const QString& text);

// The box's text, each line closed by its own end.
QString LinesText(const QPlainTextEdit* box);

// A document position (one character per line break) as a position in
// LinesText, and back; a position inside a CR LF counts as before it.
int TextPosition(const QPlainTextEdit* box, int documentPosition);
int DocumentPosition(const QPlainTextEdit* box, int textPosition);

}  // namespace velmora::controls
