// The runtime's view of the window layer: the stored window descriptions and
// the live windows built from them. Start-up reads, relocates and registers
// the descriptions through it; the loop asks it whether any window lives.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

class WindowLayer {
  public:
    virtual ~WindowLayer() = default;

    // Reads the window-description block; false when it is malformed.
    virtual bool ReadDescriptions(const void* block, size_t size) = 0;
    // Every stored handler offset becomes a routine: -1 none, else base + offset.
    virtual void RelocateHandlers(const void* handlerBase) = 0;
    // Enters the read windows in the window table, keyed by window identifier.
    virtual void RegisterWindows() = 0;

    // Builds the window and its controls; false when unknown or not buildable.
    virtual bool LoadWindow(uint32_t windowId) = 0;
    virtual bool AnyWindowAlive() const = 0;
    // Destroys the live objects of every loaded window; descriptions stay.
    virtual void DestroyAllWindows() = 0;

    // The live control of (window, unit), unit 0 being the window; null when
    // it has none (its window is not loaded).
    virtual void* FindLiveObject(uint32_t /*windowId*/, uint32_t /*unitId*/) { return nullptr; }
    // A window has been destroyed: its live objects go, its records stay.
    virtual void WindowGone(uint32_t /*windowId*/) {}
};

}  // namespace velmora
