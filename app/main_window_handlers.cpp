#include "app/main_window_handlers.h"

#include "app/collection_run.h"
#include "app/collector_globals.h"
#include "app/first_start.h"
#include "app/image/site_hosts.h"
#include "app/skins.h"
#include "app/template_engine.h"
#include "app/template_library.h"
#include "app/window_calls.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kHttp[] = "http://";
VELMORA_CONSTANT const char kMemberCentrePath[] = "/membersvc/index.htm";

constexpr int kSkinInUse = 12;

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
    Text address = Concat({kHttp, kMemberCentreHost, kMemberCentrePath});
    NavigateBrowser(kLoginBrowser, address.c_str());
}

void ShowLogPage() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kLog);
}

HandlerTable MainWindowHandlers() {
    return {kHandlers, sizeof kHandlers / sizeof kHandlers[0]};
}

}  // namespace velmora::app
