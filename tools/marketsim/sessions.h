// Logged-in sessions of the affiliate platform. The HTTP server answers on
// several threads, so the store is locked.
#pragma once

#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace velmora::marketsim {

class Sessions {
  public:
    // A new random token for a successful login.
    std::string Open();
    bool IsOpen(std::string_view token) const;
    void Close(std::string_view token);

  private:
    mutable std::mutex mutex_;
    std::set<std::string, std::less<>> tokens_;
};

}  // namespace velmora::marketsim
