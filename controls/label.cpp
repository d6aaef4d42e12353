#include "controls/label.h"

#include <QLabel>

#include "controls/control_support.h"
#include "controls/label_data.h"

namespace velmora::controls {
namespace {

QWidget* Create(const CreateRequest& request) {
    auto data = ReadLabelData(request.data);
    if (!data) return nullptr;
    auto* label = new QLabel(FromGbk(data->caption), request.parent);
    label->setGeometry(request.left, request.top, request.width, request.height);
    label->setFont(ToQFont(data->font));
    AttachToUnit(label, request);
    return label;
}

}  // namespace

InterfaceRoutine LabelInterface(int request) {
    return request == kRequestCreate ? reinterpret_cast<InterfaceRoutine>(Create) : nullptr;
}

}  // namespace velmora::controls
