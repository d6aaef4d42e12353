// Tab: a container whose children are divided into pages, with a strip of
// page captions on top unless it is stored without one. Only the current
// page's children are shown.
#pragma once

#include <QWidget>

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine TabInterface(int request);

// Shows the children of `page` (those whose visible bit is set) and hides
// every other page's children.
void ShowTabPage(QWidget* tab, int page);
int CurrentTabPage(const QWidget* tab);

}  // namespace velmora::controls
