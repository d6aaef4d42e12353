// Spaces requests evenly at a given rate: each reservation books the next
// free slot and says how long to wait for it. A rate of 0 never waits.
#pragma once

#include <chrono>

namespace velmora::app {

class RequestRate {
  public:
    using Clock = std::chrono::steady_clock;

    explicit RequestRate(double perSecond) : perSecond_(perSecond) {}

    std::chrono::milliseconds Reserve(Clock::time_point now) {
        if (perSecond_ <= 0) return std::chrono::milliseconds(0);
        Clock::time_point slot = started_ ? std::max(now, next_) : now;
        started_ = true;
        next_ = slot + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(1.0 / perSecond_));
        return std::chrono::ceil<std::chrono::milliseconds>(slot - now);
    }

  private:
    double perSecond_;
    bool started_ = false;
    Clock::time_point next_{};
};

}  // namespace velmora::app
