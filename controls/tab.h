// Tab: a container whose children are divided into pages, with a strip of
// page captions on top unless it is stored without one. Only the current
// page's children are shown.
#pragma once

#include <QWidget>

#include "runtime/data_type.h"

namespace velmora::controls {

enum TabProperty : int {
    kTabSide = 0,         // 8
    kTabMultiRow = 1,     // 9
    kTabFont = 2,         // 10
    kTabPages = 3,        // 11
    kTabCurrent = 4,      // 12
    kTabNoStrip = 5,      // 13
    kTabTransparent = 6,  // 14
    kTabColour = 7,       // 15
};

// A user's change of page: event 1 asks first (a handler answering false
// refuses it), event 2 follows the change.
enum TabEvent : int32_t {
    kTabPageChanging = 1,
    kTabPageChanged = 2,
};

InterfaceRoutine TabInterface(int request);

// Gives the focus to the enabled, focusable control of the page with the
// lowest focus order, as after a user's change of page.
void FocusFirstOnPage(QWidget* tab, int page);

// Shows the children of `page` (those whose visible bit is set) and hides
// every other page's children.
void ShowTabPage(QWidget* tab, int page);
int CurrentTabPage(const QWidget* tab);

}  // namespace velmora::controls
