#include "controls/group_box.h"

#include <QGroupBox>

#include "controls/control_support.h"
#include "controls/group_box_data.h"

namespace velmora::controls {
namespace {

QWidget* Create(const CreateRequest& request) {
    auto data = ReadGroupBoxData(request.data);
    if (!data) return nullptr;
    auto* box = new QGroupBox(FromGbk(data->caption), request.parent);
    box->setGeometry(request.left, request.top, request.width, request.height);
    box->setFont(ToQFont(data->font));
    AttachToUnit(box, request);
    return box;
}

}  // namespace

InterfaceRoutine GroupBoxInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(Create) : nullptr;
}

}  // namespace velmora::controls
