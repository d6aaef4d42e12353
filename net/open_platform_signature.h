// The affiliate open platform's request signature: every parameter but
// `sign`, sorted by name, names and values joined without separators (UTF-8),
// digested as `sign_method` says and written as upper-case hexadecimal.
// md5 wraps the joined text in the secret on both sides; hmac (HMAC-MD5) and
// hmac-sha256 key an HMAC with the secret. Shared by the client and the simulated gateway.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::net {

using PlatformParameters = std::map<std::string, std::string>;  // sorted by name, byte order

// nullopt for a sign_method other than "md5", "hmac" and "hmac-sha256".
std::optional<std::string> SignPlatformParameters(const PlatformParameters& parameters,
                                                  std::string_view secret);

}  // namespace velmora::net
