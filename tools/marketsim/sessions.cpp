#include "tools/marketsim/sessions.h"

#include <random>

namespace velmora::marketsim {

std::string Sessions::Open() {
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device device;
    std::string token;
    for (int i = 0; i < 32; ++i) token += kHex[device() % 16];
    std::lock_guard lock(mutex_);
    tokens_.insert(token);
    return token;
}

bool Sessions::IsOpen(std::string_view token) const {
    std::lock_guard lock(mutex_);
    return !token.empty() && tokens_.contains(token);
}

void Sessions::Close(std::string_view token) {
    std::lock_guard lock(mutex_);
    if (auto it = tokens_.find(token); it != tokens_.end()) tokens_.erase(it);
}

}  // namespace velmora::marketsim
