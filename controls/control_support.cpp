#include "controls/control_support.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QFontDatabase>
#include <QPalette>
#include <QVariant>

#include "runtime/event_dispatch.h"
#include "runtime/heap.h"
#include "runtime/notification.h"
#include "runtime/runtime_link.h"
#include "runtime/window_table.h"

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
    bool ran = CallRuntime(kNotifyDeliverEvent, reinterpret_cast<uintptr_t>(&record)) == 1;
    if (result && ran && record.returned == 1) *result = record.result;
    return ran;
}

bool RaiseEventAllowing(const QWidget* widget, int32_t event) {
    std::optional<uint32_t> result;
    bool ran = RaiseEvent(widget, event, &result);
    SimpleEventRecord record;
    record.returned = result ? 1 : 0;
    record.result = result.value_or(0);
    return DefaultActionAllowed(ran, record);
}

UnitRecord* UnitOf(const QWidget* widget) {
    auto identity = IdentityOf(widget);
    WindowRecord* window = identity ? FindWindowDescription(identity->windowId) : nullptr;
    return window ? window->FindUnit(identity->unitId) : nullptr;
}

namespace {
QByteArray KeptName(int index) {
    return "velmoraKept" + QByteArray::number(index);
}
}  // namespace

void KeepValue(QWidget* widget, int index, const ValueRecord& value) {
    QVariantList kept{value.tag, QVariant::fromValue<qulonglong>(value.Bits())};
    if (value.BaseTag() == tag::kText) {
        kept[1] = QByteArray(value.Text());
    } else if (value.BaseTag() == tag::kByteSet) {
        const void* block = value.Pointer();
        kept[1] = QByteArray(reinterpret_cast<const char*>(ByteSetData(block)),
                             static_cast<qsizetype>(ByteSetLength(block)));
    }
    widget->setProperty(KeptName(index), kept);
}

ValueRecord KeptValue(const QWidget* widget, int index) {
    QVariantList kept = widget->property(KeptName(index)).toList();
    if (kept.size() != 2) return MakeInteger(0);
    uint32_t t = kept[0].toUInt();
    if (tag::Base(t) == tag::kText) {
        QByteArray text = kept[1].toByteArray();
        return MakeTextValue(MakeText(text.data(), static_cast<long>(text.size())));
    }
    if (tag::Base(t) == tag::kByteSet) {
        QByteArray bytes = kept[1].toByteArray();
        return MakeByteSetValue(MakeByteSet(bytes.data(), static_cast<size_t>(bytes.size())));
    }
    return MakeValue(t, kept[1].toULongLong());
}

InterfaceRoutine TypeRoutines(int request, CreateRoutine create, SetPropertyRoutine set,
                              GetPropertyRoutine get) {
    switch (request) {
        case kRequestCreate:
            return reinterpret_cast<InterfaceRoutine>(create);
        case kRequestSetProperty:
            return reinterpret_cast<InterfaceRoutine>(set);
        case kRequestGetProperty:
            return reinterpret_cast<InterfaceRoutine>(get);
        default:
            return nullptr;
    }
}

ValueRecord TextValue(const QString& text) {
    std::string gbk = ToGbk(text);
    return MakeTextValue(MakeText(gbk.data(), static_cast<long>(gbk.size())));
}

namespace {
QColor FromStored(uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
}  // namespace

void ApplyColours(QWidget* widget, uint32_t text, uint32_t background) {
    QPalette palette = widget->palette();
    if (text != kSystemColour) {
        palette.setColor(QPalette::WindowText, FromStored(text));
        palette.setColor(QPalette::Text, FromStored(text));
        palette.setColor(QPalette::ButtonText, FromStored(text));
    }
    if (background != kSystemColour) {
        palette.setColor(QPalette::Window, FromStored(background));
        palette.setColor(QPalette::Base, FromStored(background));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(background != kSystemColour);
}

namespace {

// The system GUI font of the platform the layouts were made on is a Chinese
// face 12 pixels high, with narrow Latin letters; the stored widths of the
// captions count on that.
constexpr int kSystemFontPixels = 12;

QString ChineseFamily() {
    QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? QApplication::font().family() : chinese.front();
}

}  // namespace

QFont ToQFont(const std::optional<FontData>& stored) {
    QFont font = QApplication::font();
    if (!stored) {
        font.setFamily(ChineseFamily());
        font.setPixelSize(kSystemFontPixels);
        return font;
    }
    QString face = FromGbk(stored->face);
    // Stored faces such as 宋体 are rarely installed here; keep the height and
    // take a family that can draw Chinese.
    font.setFamily(!face.isEmpty() && QFontDatabase::hasFamily(face) ? face : ChineseFamily());
    int32_t height = stored->height < 0 ? -stored->height : stored->height;
    if (height > 0) font.setPixelSize(height);
    if (stored->weight > 0) font.setWeight(stored->weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(stored->italic != 0);
    font.setUnderline(stored->underline != 0);
    font.setStrikeOut(stored->strikeOut != 0);
    return font;
}

}  // namespace velmora::controls
