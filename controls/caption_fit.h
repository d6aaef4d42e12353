// A caption wider than the room its control's stored width leaves is drawn
// in its font narrowed just enough to fit, rather than losing its last
// characters. The room depends on the style (a skin moves a group box's
// title), so it is measured again whenever style, size or text change.
#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace velmora::controls {

// Sets the control's font and keeps its caption fitted from now on; for
// labels (hyperlinks too), group boxes and radio buttons.
void SetCaptionFont(QWidget* control, const QFont& font);

// The font, narrowed (down to half its width) until the caption fits.
QFont FittingFont(QFont font, const QString& caption, int room);

}  // namespace velmora::controls
