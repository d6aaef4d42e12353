// A site that misbehaves on purpose, for showing that the program stays
// alive and keeps nothing it should not: redirects away from the web or back
// to the same address, a body without end, a server that never answers, a
// cookie for a public suffix, a Secure cookie over plain http, a flood of
// cookies, a form sent on to another host and a template preview whose
// script reaches for what is not its own.
#pragma once

#include <cstddef>
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
inline constexpr char kSecureCookiePath[] = "/secure-cookie";  // Set-Cookie with Secure
inline constexpr char kCookieFloodPath[] = "/cookie-flood";    // kFloodCookies Set-Cookie lines
// "?code=307&host=h": that status, to kReportPath on host h (the request's
// own host when absent).
inline constexpr char kRedirectPath[] = "/redirect";
inline constexpr char kSelfRedirectPath[] = "/self-redirect";  // 302 to itself, for ever

// Another host: what the hostile site sends on must not reach it.
inline constexpr char kElsewhereHost[] = "elsewhere.example.com";
inline constexpr size_t kFloodCookies = 6000;

// Bytes the endless body runs to unless the client hangs up first.
inline constexpr size_t kEndlessBytes = size_t{1} << 30;

SiteResponse HostileSite(const SiteRequest& request);

// A template preview (GBK) whose script tries to read /etc/passwd, reports
// "local=read" or "local=blocked" to kReportPath, and then opens the member
// centre with "?from=preview".
std::string HostilePreviewPage();

}  // namespace velmora::marketsim
