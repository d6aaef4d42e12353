// The skin engine's file and the skins, held in the constant region as byte
// sets. The build generates them (tools/skin_constants) from the engine it
// builds, app/image/skins/skin_sheet.qss and app/image/skins/palettes.txt.
#pragma once

namespace velmora::app {

inline constexpr int kSkinCount = 33;

// The complete file of the skin engine library.
const void* SkinEngineImage();
// Skin `number`, 1 to kSkinCount; null for any other number.
const void* SkinImage(int number);

}  // namespace velmora::app
