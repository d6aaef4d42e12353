#include "controls/shape_box.h"

#include <QPainter>
#include <QWidget>

#include "controls/control_support.h"
#include "controls/shape_box_data.h"
#include "controls/stored_properties.h"

namespace velmora::controls {
namespace {

using F = StoredField<ShapeBoxData>;
const StoredProperties<ShapeBoxData> kProperties(
    {F{0, &ShapeBoxData::background}, F{1, &ShapeBoxData::shape}, F{2, &ShapeBoxData::lineStyle},
     F{3, &ShapeBoxData::option11}, F{4, &ShapeBoxData::lineWidth}, F{5, &ShapeBoxData::lineColour},
     F{6, &ShapeBoxData::fillColour}});

QColor FromStored(uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

class ShapeWidget : public QWidget {
  public:
    using QWidget::QWidget;
    ShapeBoxData data;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::NoPen};
        QPen pen(FromStored(data.lineColour), std::max(1, data.lineWidth));
        pen.setStyle(styles[std::min<uint32_t>(data.lineStyle, 3)]);
        painter.setPen(pen);
        painter.setBrush(data.fillColour == kSystemColour ? QBrush()
                                                          : QBrush(FromStored(data.fillColour)));
        int inset = std::max(1, data.lineWidth) / 2;
        QRect box = rect().adjusted(inset, inset, -inset - 1, -inset - 1);
        if (data.shape == 2)
            painter.drawEllipse(box);
        else if (data.shape == 1)
            painter.drawRoundedRect(box, 8, 8);
        else
            painter.drawRect(box);
    }
};

void Apply(QWidget* control, const ShapeBoxData& d) {
    auto* shape = static_cast<ShapeWidget*>(control);
    shape->data = d;
    ApplyColours(shape, kSystemColour, d.background);
    shape->update();
}

using Type = StoredType<ShapeWidget, ShapeBoxData, kProperties, Apply>;

}  // namespace

InterfaceRoutine ShapeBoxInterface(int request) {
    return Type::Interface(request);
}

}  // namespace velmora::controls
