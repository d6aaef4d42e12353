#include "net/open_platform_signature.h"

#include "net/digest.h"

namespace velmora::net {
namespace {

std::string UpperHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    return hex;
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
    if (methodName == "md5")
        return UpperHex(Md5(std::string(secret) + joined + std::string(secret)));
    if (methodName == "hmac") return UpperHex(HmacMd5(secret, joined));
    if (methodName == "hmac-sha256") return UpperHex(HmacSha256(secret, joined));
    return std::nullopt;
}

}  // namespace velmora::net
