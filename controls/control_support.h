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
#include "runtime/gbk_qt.h"
#include "runtime/value.h"
#include "runtime/window_description.h"

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

// Raises an event that asks leave for a default action (a close, a page
// change); true when the action may go on.
bool RaiseEventAllowing(const QWidget* widget, int32_t event);

// The unit record behind a live control; null for a widget of no unit.
UnitRecord* UnitOf(const QWidget* widget);

// A property the type keeps no stored field for: held with the live control
// and answered back as written (texts and byte data as fresh copies).
void KeepValue(QWidget* widget, int index, const ValueRecord& value);
ValueRecord KeptValue(const QWidget* widget, int index);

// The interface routine of a type from its create, set and get routines.
InterfaceRoutine TypeRoutines(int request, CreateRoutine create, SetPropertyRoutine set,
                              GetPropertyRoutine get);

ValueRecord TextValue(const QString& text);  // a fresh GBK text

// Stored colours are 0x00BBGGRR; 0xFF000000 leaves the element's system colour.
inline constexpr uint32_t kSystemColour = 0xFF000000;
// Text and background colours of a widget; the background fills only when set.
void ApplyColours(QWidget* widget, uint32_t text, uint32_t background);
// The stored font, or for the system GUI font the installed CJK font 12 pixels
// high. A face the machine lacks falls back to the CJK font at the same height.
QFont ToQFont(const std::optional<FontData>& font);

}  // namespace velmora::controls
