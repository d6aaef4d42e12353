#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "net/digest.h"

namespace velmora::net {
namespace {

std::string Hmac(const EVP_MD* kind, std::string_view key, std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    HMAC(kind, key.data(), static_cast<int>(key.size()),
         reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest, &size);
    return std::string(reinterpret_cast<const char*>(digest), size);
}

}  // namespace

std::string Md5(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
    return std::string(reinterpret_cast<const char*>(digest), size);
}

std::string HmacMd5(std::string_view key, std::string_view text) {
    return Hmac(EVP_md5(), key, text);
}

std::string HmacSha256(std::string_view key, std::string_view text) {
    return Hmac(EVP_sha256(), key, text);
}

}  // namespace velmora::net
