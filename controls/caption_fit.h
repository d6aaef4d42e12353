// A caption wider than the room its control's stored width leaves is drawn
// in its font narrowed just enough to fit, rather than losing its last
// characters. The room depends on the style (a skin moves a group box's
// title), so it is measured again whenever style, size or text change.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include "controls/control_support.h"

namespace velmora::controls {

// Sets the control's font and keeps its caption fitted from now on; for
// labels (hyperlinks too), group boxes and radio buttons.
void SetCaptionFont(QWidget* control, const QFont& font);

// The stored caption in the stored font and colours, for a type that shows
// nothing else (label, group box).
template <typename Widget, void (Widget::*setCaption)(const QString&), typename Data>
void ShowCaption(QWidget* control, const Data& d) {
    auto* widget = static_cast<Widget*>(control);
    (widget->*setCaption)(FromGbk(d.caption));
    SetCaptionFont(widget, ToQFont(d.font));
    ApplyColours(widget, d.textColour, d.background);
}

// The font, narrowed (down to half its width) until the caption fits.
QFont FittingFont(QFont font, const QString& caption, int room);

}  // namespace velmora::controls
