// The single-line field of an edit box, and of a combo box with an edit
// field: what the user pastes from its menu or drops on it keeps to the
// maximum length like typing does.
#pragma once

#include <QLineEdit>

namespace velmora::controls {

class LineBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    // Qt drops a line's selection when it loses the focus; with
    // hide-selection off the box keeps it, as it keeps it visible.
    bool keepSelection = false;

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace velmora::controls
