#include "controls/group_box.h"

#include <QGroupBox>

#include "controls/caption_fit.h"
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
    SetCaptionFont(box, ToQFont(d.font));
    ApplyColours(box, d.textColour, d.background);
}

using Type = StoredType<QGroupBox, GroupBoxData, Properties, Apply>;

}  // namespace

InterfaceRoutine GroupBoxInterface(int request) {
    return Type::Interface(request);
}

}  // namespace velmora::controls
