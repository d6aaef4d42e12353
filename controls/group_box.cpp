#include "controls/group_box.h"

#include <QGroupBox>

#include "controls/caption_fit.h"
#include "controls/control_support.h"
#include "controls/group_box_data.h"
#include "controls/stored_properties.h"

namespace velmora::controls {
namespace {

using F = StoredField<GroupBoxData>;
const StoredProperties<GroupBoxData> kProperties(
    {F{0, &GroupBoxData::caption}, F{1, &GroupBoxData::option9}, F{2, &GroupBoxData::textColour},
     F{3, &GroupBoxData::background}, F{4, &GroupBoxData::font}});

using Type = StoredType<QGroupBox, GroupBoxData, kProperties,
                        ShowCaption<QGroupBox, &QGroupBox::setTitle, GroupBoxData>>;

}  // namespace

InterfaceRoutine GroupBoxInterface(int request) {
    return Type::Interface(request);
}

}  // namespace velmora::controls
