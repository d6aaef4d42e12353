// The browser-control library: the embedded browser.
#pragma once

#include <span>

#include "runtime/program_image.h"

namespace velmora::controls {

inline constexpr uint32_t kHtmlViewerPosition = 1;
inline constexpr uint32_t kBrowserTypeCount = 1;

// The record the program image lists for this library.
const LibraryRecord& BrowserLibrary();
std::span<const DataTypeEntry> BrowserDataTypes();

}  // namespace velmora::controls
