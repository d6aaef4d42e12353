// The digests the open platform signs with, each from the system's own
// cryptography (digest_openssl.cpp, digest_bcrypt.cpp). Answers are the raw
// digest bytes.
#pragma once

#include <string>
#include <string_view>

namespace velmora::net {

std::string Md5(std::string_view text);
std::string HmacMd5(std::string_view key, std::string_view text);
std::string HmacSha256(std::string_view key, std::string_view text);

}  // namespace velmora::net
