#include "controls/edit_box_line.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include "controls/edit_box_typing.h"

namespace velmora::controls {
namespace {

// The paste entry of a line's standard menu: named in newer Qt, known by
// its text before.
QAction* PasteAction(const QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->objectName() == "edit-paste" ||
            action->text().startsWith(QLineEdit::tr("&Paste")))
            return action;
    return nullptr;
}

}  // namespace

void LineBox::focusOutEvent(QFocusEvent* event) {
    int start = selectionStart(), length = static_cast<int>(selectedText().size());
    QLineEdit::focusOutEvent(event);
    if (keepSelection && length > 0 && !hasSelectedText()) setSelection(start, length);
}

void LineBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* paste = PasteAction(menu)) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] {
            if (!InsertFitting(this, QGuiApplication::clipboard()->text())) this->paste();
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void LineBox::dropEvent(QDropEvent* event) {
    QString text = event->mimeData()->text();
    if (TypingRulesOf(this).maxLength <= 0 || text.isEmpty()) return QLineEdit::dropEvent(event);
    // A move inside the box takes its text away from where it was.
    bool moves = event->source() == this && event->dropAction() == Qt::MoveAction;
    QMimeData fitting;
    fitting.setText(FittingText(this, text, moves));
    QDropEvent limited(event->position(), event->possibleActions(), &fitting, event->buttons(),
                       event->modifiers(), event->type());
    limited.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&limited);
    event->setDropAction(limited.dropAction());
    event->setAccepted(limited.isAccepted());
}

}  // namespace velmora::controls
