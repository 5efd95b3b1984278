// Where the time goes: the time spent inside the plugin's IMessageProc and,
// within it, the time spent in the host's answers to the plugin's requests.
// The difference is the plugin's own work.
#pragma once

#include <chrono>
#include <cstdint>

namespace vemora::standin {

class CallMeter {
public:
    using Clock = std::chrono::steady_clock;

    struct Totals {
        Clock::duration insidePlugin{};  // all of IMessageProc, host answers included
        Clock::duration insideHost{};    // the host's answers to the plugin's calls
        uint64_t pluginCalls = 0;
        uint64_t hostCalls = 0;

        Clock::duration pluginOwn() const { return insidePlugin - insideHost; }
    };

    // Measures one stretch for as long as it lives.
    class Stretch {
    public:
        Stretch(CallMeter* meter, bool host) : meter_(meter), host_(host) {
            if (meter_ != nullptr) start_ = Clock::now();
        }
        ~Stretch() {
            if (meter_ == nullptr) return;
            const Clock::duration spent = Clock::now() - start_;
            if (host_) {
                meter_->totals_.insideHost += spent;
                ++meter_->totals_.hostCalls;
            } else {
                meter_->totals_.insidePlugin += spent;
                ++meter_->totals_.pluginCalls;
            }
        }
        Stretch(const Stretch&) = delete;
        Stretch& operator=(const Stretch&) = delete;

    private:
        CallMeter* meter_;
        bool host_;
        Clock::time_point start_{};
    };

    const Totals& totals() const { return totals_; }
    void reset() { totals_ = {}; }

private:
    Totals totals_;
};

}  // namespace vemora::standin
