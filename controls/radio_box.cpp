#include "controls/radio_box.h"

#include <QPixmap>
#include <QRadioButton>

#include "controls/caption_fit.h"
#include "controls/control_support.h"
#include "controls/radio_box_data.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

using F = StoredField<RadioBoxData>;
const StoredProperties<RadioBoxData> kProperties(
    {F{0, &RadioBoxData::picture}, F{1, &RadioBoxData::checked}, F{2, &RadioBoxData::option10},
     F{3, &RadioBoxData::caption}, F{4, &RadioBoxData::option12}, F{5, &RadioBoxData::option13},
     F{6, &RadioBoxData::option14}, F{7, &RadioBoxData::textColour},
     F{8, &RadioBoxData::background}, F{9, &RadioBoxData::font}, F{10, &RadioBoxData::option18}});

// Qt's own exclusivity would also refuse to uncheck the checked button; the
// rule here is only that checking one unchecks its siblings.
void UncheckSiblings(QRadioButton* checked) {
    QWidget* parent = checked->parentWidget();
    if (!parent) return;
    for (auto* other : parent->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        if (other != checked && other->isChecked() && IdentityOf(other)) other->setChecked(false);
}

void Apply(QWidget* control, const RadioBoxData& d) {
    auto* radio = static_cast<QRadioButton*>(control);
    radio->setText(FromGbk(d.caption));
    SetCaptionFont(radio, ToQFont(d.font));
    ApplyColours(radio, d.textColour, d.background);
    QPixmap picture;
    if (!d.picture.empty())
        picture.loadFromData(d.picture.data(), static_cast<uint>(d.picture.size()));
    radio->setIcon(QIcon(picture));
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadStoredData<RadioBoxData>(request.data);
    if (!data) return nullptr;
    auto* radio = new QRadioButton(request.parent);
    radio->setAutoExclusive(false);
    radio->setGeometry(request.left, request.top, request.width, request.height);
    Apply(radio, *data);
    radio->setChecked(data->checked != 0);
    AttachToUnit(radio, request);
    QObject::connect(radio, &QRadioButton::toggled, radio, [radio](bool on) {
        if (on) UncheckSiblings(radio);
    });
    // A click on a checked radio button leaves it checked.
    QObject::connect(radio, &QRadioButton::clicked, radio, [radio] {
        radio->setChecked(true);
        RaiseEvent(radio, kRadioBoxClicked);
    });
    return radio;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    if (index == kRadioBoxChecked) {
        static_cast<QRadioButton*>(control)->setChecked(value.Logical());
        // A written state outlives the window: this button's and the
        // siblings it unchecked go into their records.
        for (auto* radio :
             control->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            if (auto data = IdentityOf(radio) ? kProperties.Load(radio) : std::nullopt) {
                data->checked = radio->isChecked();
                kProperties.Store(radio, *data);
            }
        return false;
    }
    WriteProperty(kProperties, control, index, value, Apply);
    return false;
}

ValueRecord GetProperty(QWidget* control, int index) {
    if (index == kRadioBoxChecked)
        return MakeLogical(static_cast<QRadioButton*>(control)->isChecked());
    return ReadProperty(kProperties, control, index);
}

}  // namespace

InterfaceRoutine RadioBoxInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
