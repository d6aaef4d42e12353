#include "net/open_platform_signature.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace velmora::net {
namespace {

std::string UpperHex(const unsigned char* bytes, unsigned int size) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(size * 2);
    for (unsigned int i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

std::string Md5Hex(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
    return UpperHex(digest, size);
}

std::string HmacHex(const EVP_MD* digestKind, std::string_view key, std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    HMAC(digestKind, key.data(), static_cast<int>(key.size()),
         reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest, &size);
    return UpperHex(digest, size);
}

}  // namespace

std::optional<std::string> SignPlatformParameters(const PlatformParameters& parameters,
                                                  std::string_view secret) {
    std::string joined;
    for (const auto& [name, value] : parameters)
        if (name != "sign") joined.append(name).append(value);
    auto method = parameters.find("sign_method");
    // Both arms a view: a mixed conditional would make a temporary string.
    std::string_view methodName =
        method == parameters.end() ? std::string_view() : std::string_view(method->second);
    if (methodName == "md5") return Md5Hex(std::string(secret) + joined + std::string(secret));
    if (methodName == "hmac") return HmacHex(EVP_md5(), secret, joined);
    if (methodName == "hmac-sha256") return HmacHex(EVP_sha256(), secret, joined);
    return std::nullopt;
}

}  // namespace velmora::net
