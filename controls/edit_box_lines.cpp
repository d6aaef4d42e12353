#include "controls/edit_box_lines.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <vector>

namespace velmora::controls {
namespace {

// A block's user state names the end that closes its line; -1 (Qt's
// default) is a line the user made.
enum LineEnd : int { kUnknownEnd = -1, kCrLf = 0, kLf = 1, kCr = 2 };

QString EndText(int end) {
    switch (end) {
        case kLf:
            return QStringLiteral("\n");
        case kCr:
            return QStringLiteral("\r");
        default:
            return QStringLiteral("\r\n");
    }
}

// The lines of a text joined by '\n' for the document, and the end each
// break had.
struct SplitText {
    QString joined;
    std::vector<int> ends;
};

SplitText Split(const QString& text) {
    SplitText split;
    split.joined.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            split.ends.push_back(kCrLf);
            ++i;
        } else if (c == '\r') {
            split.ends.push_back(kCr);
        } else if (c == '\n') {
            split.ends.push_back(kLf);
        } else {
            split.joined += c;
            continue;
        }
        split.joined += '\n';
    }
    return split;
}

int DefaultEnd(const QTextDocument* document) {
    for (QTextBlock b = document->begin(); b.isValid() && b.next().isValid(); b = b.next())
        if (b.userState() != kUnknownEnd) return b.userState();
    return kCrLf;
}

int EndWidth(const QTextBlock& block, int fallback) {
    int end = block.userState() == kUnknownEnd ? fallback : block.userState();
    return end == kCrLf ? 2 : 1;
}

// Gives the blocks from `first` on the ends of the split, in order.
void MarkEnds(QTextBlock first, const std::vector<int>& ends) {
    for (int end : ends) {
        first.setUserState(end);
        first = first.next();
    }
}

}  // namespace

void SetLines(QPlainTextEdit* box, const QString& text) {
    SplitText split = Split(text);
    {
        const QSignalBlocker quiet(box);
        box->setPlainText(split.joined);
        MarkEnds(box->document()->begin(), split.ends);
    }
    emit box->textChanged();
}

void InsertLines(QPlainTextEdit* box, QTextCursor& cursor, const QString& text) {
    SplitText split = Split(text);
    {
        const QSignalBlocker quiet(box);
        // The line the insertion splits keeps its end on its last part.
        int closing = box->document()->findBlock(cursor.selectionEnd()).userState();
        cursor.insertText(split.joined);
        QTextBlock block = cursor.block();
        block.setUserState(closing);
        for (auto end = split.ends.rbegin(); end != split.ends.rend(); ++end) {
            block = block.previous();
            block.setUserState(*end);
        }
    }
    emit box->textChanged();
}

QString LinesText(const QPlainTextEdit* box) {
    const QTextDocument* document = box->document();
    const int fallback = DefaultEnd(document);
    QString text;
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        text += b.text();
        if (b.next().isValid())
            text += EndText(b.userState() == kUnknownEnd ? fallback : b.userState());
    }
    return text;
}

int TextPosition(const QPlainTextEdit* box, int documentPosition) {
    const QTextDocument* document = box->document();
    const int fallback = DefaultEnd(document);
    int extra = 0;
    QTextBlock last = document->findBlock(documentPosition);
    for (QTextBlock b = document->begin(); b.isValid() && b != last; b = b.next())
        extra += EndWidth(b, fallback) - 1;
    return documentPosition + extra;
}

int DocumentPosition(const QPlainTextEdit* box, int textPosition) {
    const QTextDocument* document = box->document();
    const int fallback = DefaultEnd(document);
    int extra = 0;
    for (QTextBlock b = document->begin(); b.isValid() && b.next().isValid(); b = b.next()) {
        int breakAt = b.position() + b.length() - 1 + extra;  // where the line's end begins
        if (textPosition <= breakAt) break;
        int width = EndWidth(b, fallback);
        if (textPosition < breakAt + width) return breakAt - extra;
        extra += width - 1;
    }
    return textPosition - extra;
}

}  // namespace velmora::controls
