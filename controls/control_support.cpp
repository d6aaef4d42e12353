#include "controls/control_support.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QVariant>

#include "runtime/event_dispatch.h"
#include "runtime/gbk.h"
#include "runtime/notification.h"

namespace velmora::controls {
namespace {

constexpr char kWindowProperty[] = "velmoraWindow";
constexpr char kUnitProperty[] = "velmoraUnit";
constexpr char kControlIdProperty[] = "velmoraControlId";

// One filter for every control: focus in and out become events -7 and -8.
class FocusEvents : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && event->type() == QEvent::FocusIn) RaiseEvent(widget, kEventGotFocus);
        if (widget && event->type() == QEvent::FocusOut) RaiseEvent(widget, kEventLostFocus);
        return false;
    }
};

FocusEvents* FocusFilter() {
    static FocusEvents* filter = new FocusEvents;
    return filter;
}

}  // namespace

void AttachToUnit(QWidget* widget, const CreateRequest& request) {
    widget->setProperty(kWindowProperty, QVariant::fromValue(request.windowId));
    widget->setProperty(kUnitProperty, QVariant::fromValue(request.unitId));
    widget->setProperty(kControlIdProperty, request.controlId);
    widget->setEnabled((request.styles & kStyleDisabled) == 0);
    widget->setFocusPolicy((request.styles & kStyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
    widget->installEventFilter(FocusFilter());
}

std::optional<UnitIdentity> IdentityOf(const QWidget* widget) {
    if (!widget) return std::nullopt;
    QVariant window = widget->property(kWindowProperty);
    if (!window.isValid()) return std::nullopt;
    return UnitIdentity{window.toUInt(), widget->property(kUnitProperty).toUInt(),
                        widget->property(kControlIdProperty).toInt()};
}

bool RaiseEvent(const QWidget* widget, int32_t event, std::optional<uint32_t>* result) {
    auto identity = IdentityOf(widget);
    if (!identity) return false;
    SimpleEventRecord record;
    record.windowId = identity->windowId;
    record.unitId = identity->unitId;
    record.event = event;
    bool ran = RuntimeNotify(kNotifyDeliverEvent, reinterpret_cast<uintptr_t>(&record), 0) == 1;
    if (result && ran && record.returned == 1) *result = record.result;
    return ran;
}

QString FromGbk(std::string_view gbk) {
    std::u16string utf16 = GbkToUtf16Lossy(gbk);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

QFont ToQFont(const std::optional<FontData>& stored) {
    QFont font = QApplication::font();
    if (!stored) return font;
    QString face = FromGbk(stored->face);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        font.setFamily(face);
    } else {
        // Stored faces such as 宋体 are rarely installed here; keep the height
        // and take a family that can draw Chinese.
        QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (!chinese.isEmpty()) font.setFamily(chinese.front());
    }
    int32_t height = stored->height < 0 ? -stored->height : stored->height;
    if (height > 0) font.setPixelSize(height);
    if (stored->weight > 0) font.setWeight(stored->weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(stored->italic != 0);
    font.setUnderline(stored->underline != 0);
    font.setStrikeOut(stored->strikeOut != 0);
    return font;
}

}  // namespace velmora::controls
