#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include "net/digest.h"

namespace velmora::net {
namespace {

// One digest with Windows' CNG; an empty answer if CNG refuses, which then
// signs nothing the platform accepts rather than crashing.
std::string Digest(const wchar_t* algorithm, bool hmac, std::string_view key,
                   std::string_view text) {
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&provider, algorithm, nullptr,
                                                    hmac ? BCRYPT_ALG_HANDLE_HMAC_FLAG : 0)))
        return {};
    std::string digest;
    DWORD size = 0;
    ULONG written = 0;
    BCRYPT_HASH_HANDLE hash = nullptr;
    auto* keyBytes = reinterpret_cast<PUCHAR>(const_cast<char*>(key.data()));
    if (BCRYPT_SUCCESS(BCryptGetProperty(provider, BCRYPT_HASH_LENGTH,
                                         reinterpret_cast<PUCHAR>(&size), sizeof size, &written,
                                         0)) &&
        BCRYPT_SUCCESS(BCryptCreateHash(provider, &hash, nullptr, 0, hmac ? keyBytes : nullptr,
                                        hmac ? ULONG(key.size()) : 0, 0))) {
        digest.resize(size);
        auto* input = reinterpret_cast<PUCHAR>(const_cast<char*>(text.data()));
        if (!BCRYPT_SUCCESS(BCryptHashData(hash, input, ULONG(text.size()), 0)) ||
            !BCRYPT_SUCCESS(
                BCryptFinishHash(hash, reinterpret_cast<PUCHAR>(digest.data()), size, 0)))
            digest.clear();
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(provider, 0);
    return digest;
}

}  // namespace

std::string Md5(std::string_view text) {
    return Digest(BCRYPT_MD5_ALGORITHM, false, {}, text);
}

std::string HmacMd5(std::string_view key, std::string_view text) {
    return Digest(BCRYPT_MD5_ALGORITHM, true, key, text);
}

std::string HmacSha256(std::string_view key, std::string_view text) {
    return Digest(BCRYPT_SHA256_ALGORITHM, true, key, text);
}

}  // namespace velmora::net
