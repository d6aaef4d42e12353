// What every control type shares: knowing which unit it is, raising its
// events through the runtime, and turning stored GBK texts and fonts into Qt.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string_view>

#include "controls/font_data.h"
#include "runtime/data_type.h"

namespace velmora::controls {

struct UnitIdentity {
    uint32_t windowId = 0;
    uint32_t unitId = 0;
    int controlId = 0;
};

// Marks the widget as the given unit, applies the styles and geometry of the
// request and reports its focus changes as the common events -7 and -8.
void AttachToUnit(QWidget* widget, const CreateRequest& request);
std::optional<UnitIdentity> IdentityOf(const QWidget* widget);

// Raises an event of the widget's unit; true when a handler ran. The
// result, when the handler gave one, lands in *result.
bool RaiseEvent(const QWidget* widget, int32_t event, std::optional<uint32_t>* result = nullptr);

QString FromGbk(std::string_view gbk);
// The stored font, or the application's font for the system GUI font. A face
// the machine lacks falls back to the installed CJK font at the same height.
QFont ToQFont(const std::optional<FontData>& font);

}  // namespace velmora::controls
