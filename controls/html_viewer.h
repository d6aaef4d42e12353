// HtmlViewer: an embedded browser; the login browser on the persistent
// profile, every other page off the record (browser_profile.h).
// Its events go to the program as typed event records; a text argument is a
// GBK text that lives only while the handler runs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/data_type.h"

class QWidget;

namespace velmora::controls {

// Type-specific property indices, counted from 8.
enum HtmlViewerProperty : int {
    kHtmlFontSize = 0,    // 8: text size 0-4
    kHtmlOffline = 1,     // 9
    kHtmlSilent = 2,      // 10
    kHtmlAddress = 3,     // 11
    kHtmlStatusText = 4,  // 12
    kHtmlCaption = 5,     // 13
};

enum HtmlViewerEvent : int {
    kBeforeNavigate = 0,      // address; a handler returning false cancels
    kNavigateComplete = 1,    // address
    kDownloadBegin = 2,       //
    kProgressChange = 3,      // percentage
    kDownloadComplete = 4,    //
    kDocumentComplete = 5,    // address
    kStatusTextChange = 6,    // text
    kTitleChange = 7,         // title
    kCommandStateChange = 8,  // command (0 forward, 1 back), allowed
    kNewWindow = 9,           // address; a handler returning false forbids it
};

inline constexpr int kHighestTextSize = 4;

InterfaceRoutine HtmlViewerInterface(int request);

// The help-file form "its:<help>::<address>", or none when it would not fit
// in `limit` bytes with its terminator.
inline constexpr size_t kComposedAddressLimit = 520;
std::optional<std::string> ComposeHelpAddress(std::string_view helpFile, std::string_view address,
                                              size_t limit = kComposedAddressLimit);

// Stores the GBK address and opens it; false for a widget that is no
// browser control.
bool NavigateTo(QWidget* control, std::string_view gbkAddress);

}  // namespace velmora::controls
