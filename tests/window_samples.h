// Window records the suites build windows and streams from.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/window_description.h"

namespace velmora::testing {

inline constexpr uint32_t kSampleWindowId = 0x52010001;
inline constexpr uint32_t kWindowUnitId = 0x06010000;

inline constexpr uint32_t kTypeWindow = 0x00010001;
inline constexpr uint32_t kTypeMenuItem = 0x00010003;
inline constexpr uint32_t kTypeEditBox = 0x00010005;
inline constexpr uint32_t kTypeGroupBox = 0x00010009;
inline constexpr uint32_t kTypeLabel = 0x0001000A;
inline constexpr uint32_t kTypeButton = 0x0001000B;
inline constexpr uint32_t kTypeTab = 0x00010015;

inline UnitRecord Unit(uint32_t id, uint32_t type, uint32_t parent, uint32_t state,
                       std::vector<uint32_t> children = {}) {
    UnitRecord u;
    u.id = id;
    u.type = type;
    u.parent = parent;
    u.state = state;
    u.children = std::move(children);
    u.left = 10;
    u.top = 20;
    u.width = 80;
    u.height = 24;
    u.cursorData = {0, 0, 0, 0};
    return u;
}

inline UnitRecord WindowUnit(std::vector<uint32_t> children) {
    UnitRecord u = Unit(kWindowUnitId, kTypeWindow, 0, kStateVisible, std::move(children));
    u.width = 400;
    u.height = 300;
    return u;
}

}  // namespace velmora::testing
