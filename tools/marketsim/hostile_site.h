// A site that misbehaves on purpose, for showing that the program stays
// alive and keeps nothing it should not: redirects away from the web, a body
// without end, a server that never answers, a cookie for a public suffix and
// a template preview whose script reaches for what is not its own.
#pragma once

#include <string>

#include "tools/marketsim/sites.h"

namespace velmora::marketsim {

// Under "com", so that a cookie for that public suffix is one it may offer.
inline constexpr char kHostileHost[] = "hostile.example.com";

// Paths of the hostile site.
inline constexpr char kToLocalFilePath[] = "/to-local-file";   // 302 to file:///etc/passwd
inline constexpr char kToOtherSchemePath[] = "/to-ftp";        // 302 to ftp://
inline constexpr char kEndlessPath[] = "/endless";             // a body far over any cap
inline constexpr char kSilentPath[] = "/silent";               // accepts, never answers
inline constexpr char kSuffixCookiePath[] = "/suffix-cookie";  // Set-Cookie for com
inline constexpr char kReportPath[] = "/report";               // where the preview reports

// Bytes the endless body runs to unless the client hangs up first.
inline constexpr size_t kEndlessBytes = size_t{1} << 30;

SiteResponse HostileSite(const SiteRequest& request);

// A template preview (GBK) whose script tries to read /etc/passwd, reports
// "local=read" or "local=blocked" to kReportPath, and then opens the member
// centre with "?from=preview".
std::string HostilePreviewPage();

}  // namespace velmora::marketsim
