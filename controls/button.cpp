#include "controls/button.h"

#include <QPushButton>

#include "controls/button_data.h"
#include "controls/control_support.h"
#include "runtime/event_dispatch.h"

namespace velmora::controls {
namespace {

QWidget* Create(const CreateRequest& request) {
    auto data = ReadButtonData(request.data);
    if (!data) return nullptr;
    auto* button = new QPushButton(FromGbk(data->caption), request.parent);
    button->setGeometry(request.left, request.top, request.width, request.height);
    button->setFont(ToQFont(data->font));
    AttachToUnit(button, request);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button] { RaiseEvent(button, kEventClicked); });
    return button;
}

}  // namespace

InterfaceRoutine ButtonInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(Create) : nullptr;
}

}  // namespace velmora::controls
