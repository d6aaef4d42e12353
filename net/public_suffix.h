// The Public Suffix List, as libpsl reads it from the system (the same list
// curl and the browsers consult): names under which anyone may register a
// site, such as "com", "com.cn" or "github.io". A cookie set for one of them
// would reach every site below it.
#pragma once

#include <string>
#include <string_view>

namespace velmora::net {

// True for a public suffix, an unknown top-level name included.
bool IsPublicSuffix(std::string_view domain);

// The name a site registers under its public suffix ("shop.example.com.cn"
// gives "example.com.cn"); the name itself when there is none below one.
std::string RegistrableDomain(std::string_view host);

}  // namespace velmora::net
