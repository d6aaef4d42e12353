// The runtime's private messages to the controls it builds, as Qt event
// types: build finished (to each control), window built (to the window) and
// window shown (to each control, after the window appeared).
#pragma once

#include <QEvent>

namespace velmora {

constexpr QEvent::Type PrivateMessage(int message) {
    return static_cast<QEvent::Type>(QEvent::User + (message - 0x8000));
}

inline constexpr QEvent::Type kMessageBuildFinished = PrivateMessage(0x806F);
inline constexpr QEvent::Type kMessageWindowBuilt = PrivateMessage(0x8004);
inline constexpr QEvent::Type kMessageWindowShown = PrivateMessage(0x8076);

}  // namespace velmora
