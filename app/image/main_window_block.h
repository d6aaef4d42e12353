// The main window's stored description, compiled by the build from
// app/main_window.window.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::app {

extern const uint8_t kMainWindowBlock[];
extern const size_t kMainWindowBlockSize;

}  // namespace velmora::app
