#include "controls/group_box.h"

#include <QGroupBox>

#include "controls/control_support.h"
#include "controls/group_box_data.h"
#include "controls/stored_properties.h"

namespace velmora::controls {
namespace {

const StoredProperties<GroupBoxData>& Properties() {
    using F = StoredField<GroupBoxData>;
    static const StoredProperties<GroupBoxData> properties(
        ReadGroupBoxData, WriteGroupBoxData,
        {F{0, &GroupBoxData::caption}, F{1, &GroupBoxData::option9},
         F{2, &GroupBoxData::textColour}, F{3, &GroupBoxData::background},
         F{4, &GroupBoxData::font}});
    return properties;
}

void Apply(QWidget* control, const GroupBoxData& d) {
    auto* box = static_cast<QGroupBox*>(control);
    box->setTitle(FromGbk(d.caption));
    box->setFont(ToQFont(d.font));
    ApplyColours(box, d.textColour, d.background);
}

QWidget* Create(const CreateRequest& request) {
    auto data = ReadGroupBoxData(request.data);
    if (!data) return nullptr;
    auto* box = new QGroupBox(request.parent);
    box->setGeometry(request.left, request.top, request.width, request.height);
    Apply(box, *data);
    AttachToUnit(box, request);
    return box;
}

bool SetProperty(QWidget* control, int index, const ValueRecord& value) {
    WriteProperty(Properties(), control, index, value, Apply);
    return false;
}

ValueRecord GetProperty(QWidget* control, int index) {
    return ReadProperty(Properties(), control, index);
}

}  // namespace

InterfaceRoutine GroupBoxInterface(int request) {
    return TypeRoutines(request, Create, SetProperty, GetProperty);
}

}  // namespace velmora::controls
