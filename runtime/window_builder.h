// Building live windows from their stored descriptions, and the live state
// of every loaded window: the control object and cursor of each unit.
#pragma once

#include <cstdint>

class QWidget;

namespace velmora {

// Builds the window and its controls; a window already loaded is only
// brought forward. Fails for an unknown window, an owner that is not a live
// window, or a unit whose type cannot create it. `ownerWindowId` 0: none.
bool LoadWindow(uint32_t windowId, bool modal = false, uint32_t ownerWindowId = 0);

// The live control of (window, unit), unit 0 being the window; null when the
// window is not loaded or the unit has no live control.
QWidget* FindLiveObject(uint32_t windowId, uint32_t unitId);
// The same, but a missing one is the fatal "指定窗口或窗口组件不存在或尚未载入".
QWidget* RequireLiveObject(uint32_t windowId, uint32_t unitId);

bool IsWindowLoaded(uint32_t windowId);
bool AnyWindowLoaded();

// Re-creates one control from its unit record, events suppressed meanwhile:
// same control id, parent, place among its siblings, cursor and visibility.
bool RebuildControl(uint32_t windowId, uint32_t unitId);

// The window has gone: forget its live objects and cursors. Its records stay
// and it can be loaded again.
void ForgetWindow(uint32_t windowId);

// Control ids are handed out from 100 in steps of 10, in building order.
inline constexpr int kFirstControlId = 100;
inline constexpr int kControlIdStep = 10;

}  // namespace velmora
