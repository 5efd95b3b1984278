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
            if (meter_ != nullptr && host_ && !meter_->timeHost_) meter_ = nullptr;
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

    // Timing every host answer costs two clock reads each, which would be
    // counted as the plugin's; with it off only IMessageProc is timed.
    void timeHostAnswers(bool on) { timeHost_ = on; }

    // What one timed stretch adds by itself: the time between two clock reads.
    static Clock::duration clockReadCost() {
        constexpr int SAMPLES = 100000;
        const Clock::time_point start = Clock::now();
        Clock::time_point last = start;
        for (int i = 0; i < SAMPLES; ++i) last = Clock::now();
        return (last - start) / SAMPLES;
    }

private:
    Totals totals_;
    bool timeHost_ = true;
};

}  // namespace vemora::standin
