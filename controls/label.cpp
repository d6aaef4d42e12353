#include "controls/label.h"

#include <QLabel>
#include <QMouseEvent>

#include "controls/caption_fit.h"
#include "controls/control_support.h"
#include "controls/label_data.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

using F = StoredField<LabelData>;
const StoredProperties<LabelData> kProperties(
    {F{0, &LabelData::caption}, F{1, [](LabelData& d) -> uint32_t& { return d.options[0]; }},
     F{2, [](LabelData& d) -> uint32_t& { return d.options[1]; }},
     F{3, [](LabelData& d) -> uint32_t& { return d.options[2]; }},
     F{4, [](LabelData& d) -> uint32_t& { return d.options[3]; }},
     F{5, [](LabelData& d) -> uint32_t& { return d.options[4]; }},
     F{6, [](LabelData& d) -> uint32_t& { return d.options[5]; }}, F{7, &LabelData::font},
     F{8, &LabelData::textColour}, F{9, &LabelData::background}, F{10, &LabelData::picture}});

class LabelWidget : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
            RaiseEvent(this, kLabelClicked);
    }
};

using Type = StoredType<LabelWidget, LabelData, kProperties,
                        ShowCaption<QLabel, &QLabel::setText, LabelData>>;

}  // namespace

InterfaceRoutine LabelInterface(int request) {
    return Type::Interface(request);
}

}  // namespace velmora::controls
