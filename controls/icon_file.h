// Icon files as stored for a window: every image of the file becomes one size
// of the icon, so the system can pick the image drawn for the size it shows.
#pragma once

#include <QIcon>
#include <cstdint>
#include <span>

namespace velmora::controls {

// Where the file holds several images of one size, the one with the most
// colours is kept. An empty or unreadable file gives the null icon.
QIcon IconFromFile(std::span<const uint8_t> file);

}  // namespace velmora::controls
