#include "app/image/program_image.h"

#include "app/image/main_window_block.h"
#include "app/main_window_handlers.h"
#include "commands/core_library.h"
#include "controls/browser_library.h"
#include "controls/extended_ui_library.h"
#include "net/internet_library.h"
#include "net/responsive_wait_library.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

// The one outside function the program imports: the skin engine's attach call.
VELMORA_CONSTANT const char kSkinEngineFile[] = "SkinH_EL.dll";
VELMORA_CONSTANT const char kSkinEngineAttach[] = "SkinH_AttachRes";
const char* const kDllFileNames[] = {kSkinEngineFile};
const char* const kDllFunctionNames[] = {kSkinEngineAttach};

constexpr uint32_t kNormalBuild = 3;
constexpr uint32_t kProgramValue = 0x13368;

}  // namespace

const ProgramHeader& ProgramImage() {
    // In library-index order: core, browser control, extended UI, special functions, internet.
    static const LibraryRecord* const libraries[] = {
        &commands::CoreLibrary(),       &controls::BrowserLibrary(),
        &controls::ExtendedUiLibrary(), &net::SpecialFunctionsLibrary(),
        &net::InternetLibrary(),
    };
    static const ProgramHeader header{
        .buildKind = kNormalBuild,
        .reserved = 0,
        .programValue = kProgramValue,
        .handlerBase = MainWindowHandlers().entries,
        .constantRegion = ConstantRegionStart(),
        .constantRegionSize = ConstantRegionSize(),
        .windowBlock = kMainWindowBlock,
        .windowBlockSize = kMainWindowBlockSize,
        .libraryCount = sizeof libraries / sizeof libraries[0],
        .libraries = libraries,
        .dllCommandCount = sizeof kDllFileNames / sizeof kDllFileNames[0],
        .dllFileNames = kDllFileNames,
        .dllFunctionNames = kDllFunctionNames,
    };
    return header;
}

}  // namespace velmora::app
