#include "controls/button.h"

#include <QPixmap>
#include <QPushButton>

#include "controls/button_data.h"
#include "controls/control_support.h"
#include "controls/stored_properties.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

using F = StoredField<ButtonData>;
const StoredProperties<ButtonData> kProperties(
    {F{0, &ButtonData::picture}, F{1, &ButtonData::option9}, F{2, &ButtonData::caption},
     F{3, &ButtonData::option11}, F{4, &ButtonData::option12}, F{5, &ButtonData::font}});

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

using Type = StoredType<QPushButton, ButtonData, kProperties, Apply>;

QWidget* Create(const CreateRequest& request) {
    QPushButton* button = Type::Make(request);
    if (button)
        QObject::connect(button, &QPushButton::clicked, button,
                         [button] { RaiseEvent(button, kButtonClicked); });
    return button;
}

}  // namespace

InterfaceRoutine ButtonInterface(int request) {
    return Type::Interface(request, Create);
}

}  // namespace velmora::controls
