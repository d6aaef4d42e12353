// Building live windows from their stored descriptions, and the live state
// of every loaded window: the control object and cursor of each unit.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/event_handler.h"
#include "runtime/window_description.h"
#include "runtime/window_layer.h"

class QWidget;

namespace velmora {

// The window layer start-up and the loop talk to. It is given the
// application's handler table, which the program header's handler base must
// name: a stored offset that lands outside it makes the block unusable.
class WindowBuilder final : public WindowLayer {
  public:
    explicit WindowBuilder(HandlerTable handlers) : handlers_(handlers) {}

    bool ReadDescriptions(const void* block, size_t size) override;
    void RelocateHandlers(const void* handlerBase) override;
    // Also takes the data-type tables of the program's libraries.
    void RegisterWindows() override;
    bool LoadWindow(uint32_t windowId) override;
    bool AnyWindowAlive() const override;
    void DestroyAllWindows() override;
    void* FindLiveObject(uint32_t windowId, uint32_t unitId) override;
    void WindowGone(uint32_t windowId) override;
    uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int property, int element) override;
    void WriteProperty(uint32_t windowId, uint32_t unitId, int property, int element, uint32_t low,
                       uint32_t high) override;

  private:
    HandlerTable handlers_;
    std::vector<WindowRecord> read_;
};

// Builds the window and its controls; a window already loaded is only
// brought forward. Fails for an unknown window, an owner that is not a live
// window, or a unit whose type cannot create it. `ownerWindowId` 0: none.
bool BuildWindow(uint32_t windowId, bool modal = false, uint32_t ownerWindowId = 0);

// The live control of (window, unit), unit 0 being the window; null when the
// window is not loaded or the unit has no live control.
QWidget* FindLiveObject(uint32_t windowId, uint32_t unitId);

bool IsWindowLoaded(uint32_t windowId);
bool AnyWindowLoaded();

// Re-creates one control from its unit record, events suppressed meanwhile:
// same control id, parent, place among its siblings, cursor and visibility.
bool RebuildControl(uint32_t windowId, uint32_t unitId);

// Sets the cursor the stored cursor data names, or the control's default.
void ApplyStoredCursor(QWidget* control, const std::vector<uint8_t>& cursorData);
// The window has gone: forget its live objects and cursors. Its records stay
// and it can be loaded again.
void ForgetWindow(uint32_t windowId);

// Control ids are handed out from 100 in steps of 10, in building order.
inline constexpr int kFirstControlId = 100;
inline constexpr int kControlIdStep = 10;

}  // namespace velmora
