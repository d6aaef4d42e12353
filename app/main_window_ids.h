// Identifiers of the main window and of the units the collector's handlers
// read and write, with the property indices they use. The window description
// fixes these numbers; handlers address a control as (window, unit, property).
#pragma once

#include <cstdint>

namespace velmora::app {

inline constexpr uint32_t kMainWindow = 0x52010001;
inline constexpr uint32_t kMainWindowUnit = 0x06010000;

// Collection inputs.
inline constexpr uint32_t kKeywordBox = 0x16010005;
inline constexpr uint32_t kItemCountBox = 0x1601196f;
inline constexpr uint32_t kSortChoice = 0x1601000a;
inline constexpr uint32_t kStartButton = 0x1601000c;
inline constexpr uint32_t kStopButton = 0x16011aa4;
inline constexpr uint32_t kLoginButton = 0x160118ee;

// Work area: the page control, its pages' browsers and the log.
inline constexpr uint32_t kPageControl = 0x16010022;
inline constexpr uint32_t kLoginBrowser = 0x160132e7;
inline constexpr uint32_t kPreviewBrowser = 0x160132ec;
inline constexpr uint32_t kHelpBrowser = 0x1601328c;
inline constexpr uint32_t kLogBox = 0x16011a4c;

// The hidden item store of a run: item id, title, seller per row.
inline constexpr uint32_t kItemList = 0x1601192f;

// Templates: the list and the editor boxes.
inline constexpr uint32_t kTemplateList = 0x160118fc;
inline constexpr uint32_t kTemplateNameBox = 0x16011907;
inline constexpr uint32_t kHeadBox = 0x1601191f;
inline constexpr uint32_t kLoopBox = 0x16011920;
inline constexpr uint32_t kTailBox = 0x16011921;
inline constexpr uint32_t kModifyButton = 0x16011927;
inline constexpr uint32_t kMakeNewButton = 0x160119de;
inline constexpr uint32_t kSaveButton = 0x16011909;

// Page switches.
inline constexpr uint32_t kInstructionsSwitch = 0x16010010;
inline constexpr uint32_t kPreviewSwitch = 0x16010011;
inline constexpr uint32_t kTemplateEditorSwitch = 0x16010012;
inline constexpr uint32_t kLogSwitch = 0x16010013;

// Property indices; 0 to 7 are common to every control.
namespace property {
inline constexpr int kEditBoxContent = 8;
inline constexpr int kBrowserAddress = 11;
inline constexpr int kCurrentPage = 12;
inline constexpr int kListBoxSelection = 16;
inline constexpr int kComboBoxSelection = 19;
}  // namespace property

// Pages of the page control.
namespace page {
inline constexpr int kLogin = 0;
inline constexpr int kTemplateEditor = 1;
inline constexpr int kLog = 2;
inline constexpr int kPreview = 3;
inline constexpr int kInstructions = 4;
}  // namespace page

}  // namespace velmora::app
