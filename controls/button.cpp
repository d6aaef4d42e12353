#include "controls/button.h"

#include <QPixmap>
#include <QPushButton>

#include "controls/button_data.h"
#include "controls/control_support.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

const StoredProperties<ButtonData>& Properties() {
    using F = StoredField<ButtonData>;
    static const StoredProperties<ButtonData> properties(
        ReadButtonData, WriteButtonData,
        {F{0, &ButtonData::picture}, F{1, &ButtonData::option9}, F{2, &ButtonData::caption},
         F{3, &ButtonData::option11}, F{4, &ButtonData::option12}, F{5, &ButtonData::font}});
    return properties;
}

void Apply(QWidget* control, const ButtonData& d) {
    auto* button = static_cast<QPushButton*>(control);
    button->setText(FromGbk(d.caption));
    button->setFont(ToQFont(d.font));
    QPixmap picture;
    if (!d.picture.empty())
        picture.loadFromData(d.picture.data(), static_cast<uint>(d.picture.size()));
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.size());
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadButtonData(request.data);
    if (!data) return nullptr;
    auto* button = new QPushButton(request.parent);
    button->setGeometry(request.left, request.top, request.width, request.height);
    Apply(button, *data);
    AttachToUnit(button, request);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button] { RaiseEvent(button, kEventClicked); });
    return button;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    WriteProperty(Properties(), control, index, value, Apply);
    return false;
}

ValueRecord GetProperty(QWidget* control, int index) {
    return ReadProperty(Properties(), control, index);
}

}  // namespace

InterfaceRoutine ButtonInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
