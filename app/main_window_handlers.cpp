#include "app/main_window_handlers.h"

#include "app/collection_engine.h"
#include "app/collection_run.h"
#include "app/collector_globals.h"
#include "app/first_start.h"
#include "app/skins.h"
#include "app/template_engine.h"
#include "app/template_library.h"
#include "app/window_calls.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

constexpr int kSkinInUse = 12;

VELMORA_CONSTANT const char kFileScheme[] = "file://";
VELMORA_CONSTANT const char kTemplatesSection[] = "#templates";
VELMORA_CONSTANT const char kUpdateSection[] = "#update";

constexpr uint32_t kTutorialLink = 0x160132eb;
constexpr uint32_t kDownloadLink = 0x16011aa5;
constexpr int kLinkWebAddress = 11;

// Points the window's two links at their sections of the instructions page:
// the tutorial at the templates, the download link at how to get a new version.
void LinkToInstructions() {
    Text path = InstructionsPagePath();
    Text templates = Concat({kFileScheme, path.c_str(), kTemplatesSection});
    Text update = Concat({kFileScheme, path.c_str(), kUpdateSection});
    WriteText(kTutorialLink, templates.c_str(), kLinkWebAddress);
    WriteText(kDownloadLink, update.c_str(), kLinkWebAddress);
}

#define VELMORA_HANDLER(Name) {#Name, PlainHandler<Name>},
const HandlerEntry kHandlers[] = {
#include "app/main_window_handlers.def"
};
#undef VELMORA_HANDLER

}  // namespace

void StartUp() {
    PrepareDataFolder();
    ApplySkin(kSkinInUse);
    ListTemplates();
    SelectFirstTemplate();
    WriteInteger(kSortChoice, property::kComboBoxSelection, 0);
    LinkToInstructions();
    ShowInstructions();
    Globals().stopRequested = false;
}

void ShowLoginPage() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kLogin);
    NavigateBrowser(kLoginBrowser, MemberCentreAddress().c_str());
}

void ShowLogPage() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kLog);
}

HandlerTable MainWindowHandlers() {
    return {kHandlers, sizeof kHandlers / sizeof kHandlers[0]};
}

}  // namespace velmora::app
