// The process's cookies kept on the disk between runs. The browser engine
// keeps its own cookies, but does not report the ones it reads back at
// start-up, so the requests of a new process would go without the login
// kept from the last; this file carries them over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/cookie_store.h"

namespace velmora::net {

// One cookie a line, its fields separated by tabs (cookies hold no control
// bytes); session cookies are kept too, as the browser keeps them.
std::string FormatCookies(const std::vector<Cookie>& cookies);
// Lines that do not read as a cookie are skipped.
std::vector<Cookie> ParseCookies(std::string_view text);

// Written to a sibling first and renamed over, readable by the owner only.
bool SaveCookieFile(const std::string& path, const std::vector<Cookie>& cookies);
// The file's cookies; none when it is missing.
std::vector<Cookie> LoadCookieFile(const std::string& path);

// Loads the file into `store` and writes it again after each change of the
// store: one answer's cookies, however many, are one write. The id of the
// store's listener that does it.
int KeepCookieFile(CookieStore& store, const std::string& path);

}  // namespace velmora::net
