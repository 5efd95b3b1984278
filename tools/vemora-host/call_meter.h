// Time spent inside the plugin's IMessageProc, the host's answers included.
// (What the answers themselves cost is found by replaying them: CallTape.)
#pragma once

#include <chrono>
#include <cstdint>

namespace vemora::standin {

class CallMeter {
public:
    using Clock = std::chrono::steady_clock;

    struct Totals {
        Clock::duration insidePlugin{};
        uint64_t pluginCalls = 0;
    };

    // Times one call for as long as it lives; does nothing without a meter.
    class Stretch {
    public:
        explicit Stretch(CallMeter* meter) : meter_(meter) {
            if (meter_ != nullptr) start_ = Clock::now();
        }
        ~Stretch() {
            if (meter_ == nullptr) return;
            meter_->totals_.insidePlugin += Clock::now() - start_;
            ++meter_->totals_.pluginCalls;
        }
        Stretch(const Stretch&) = delete;
        Stretch& operator=(const Stretch&) = delete;

    private:
        CallMeter* meter_;
        Clock::time_point start_{};
    };

    const Totals& totals() const { return totals_; }
    void reset() { totals_ = {}; }

private:
    Totals totals_;
};

}  // namespace vemora::standin
