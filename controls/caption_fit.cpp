#include "controls/caption_fit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QVariant>

namespace velmora::controls {
namespace {

constexpr char kCaptionFontProperty[] = "velmoraCaptionFont";
constexpr int kNarrowest = 50;

// The caption and the width it may take inside the control.
std::pair<QString, int> CaptionRoom(const QWidget* control) {
    if (auto* label = qobject_cast<const QLabel*>(control))
        return {label->text(), label->contentsRect().width()};
    if (auto* box = qobject_cast<const QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                   QStyle::SC_GroupBoxLabel, box);
        int padding = title.width() - box->fontMetrics().horizontalAdvance(box->title());
        return {box->title(), box->width() - title.left() - padding};
    }
    if (auto* radio = qobject_cast<const QRadioButton*>(control)) {
        int around =
            radio->sizeHint().width() - radio->fontMetrics().horizontalAdvance(radio->text());
        return {radio->text(), radio->width() - around};
    }
    return {};
}

void Fit(QWidget* control) {
    QVariant stored = control->property(kCaptionFontProperty);
    if (!stored.isValid()) return;
    // Measured in the full-width font: the room must not depend on the squeeze.
    QFont font = stored.value<QFont>();
    control->setFont(font);
    auto [caption, room] = CaptionRoom(control);
    control->setFont(FittingFont(font, caption, room));
}

class CaptionFitter : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Polish:
            case QEvent::StyleChange:
            case QEvent::Resize:
                if (!busy_) {
                    busy_ = true;
                    Fit(static_cast<QWidget*>(watched));
                    busy_ = false;
                }
                break;
            default:
                break;
        }
        return false;
    }

  private:
    bool busy_ = false;
};

CaptionFitter* Fitter() {
    static CaptionFitter* fitter = new CaptionFitter;
    return fitter;
}

}  // namespace

QFont FittingFont(QFont font, const QString& caption, int room) {
    if (caption.isEmpty() || room <= 0 || QFontMetrics(font).horizontalAdvance(caption) <= room)
        return font;
    for (int stretch = 99; stretch >= kNarrowest; --stretch) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(caption) <= room) return font;
    }
    return font;
}

void SetCaptionFont(QWidget* control, const QFont& font) {
    control->setProperty(kCaptionFontProperty, QVariant::fromValue(font));
    control->removeEventFilter(Fitter());
    control->installEventFilter(Fitter());
    Fit(control);
}

}  // namespace velmora::controls
