// A client that keeps asking the real program the time, one query at a time, from a thread of
// its own: how long each reply took, so that a test or a benchmark sees every freeze.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace e2e {

class TimeProbe {
public:
    using Clock = std::chrono::steady_clock;
    struct Sample {
        Clock::time_point sent;
        double waitedMs = 0;  // until the reply, or until the probe stopped when none came
        bool answered = false;
    };

    // Starts asking at once, again and again until the program first answers; from then on
    // a query, its reply, a pause of `spacing`, the next query.
    explicit TimeProbe(uint16_t port, std::chrono::milliseconds spacing = std::chrono::milliseconds{10});
    ~TimeProbe();
    TimeProbe(const TimeProbe&) = delete;
    TimeProbe& operator=(const TimeProbe&) = delete;

    void stop();
    // Every query so far; one still waiting counts with its wait up to now.
    std::vector<Sample> samples() const;
    // The longest wait of a query that was waiting between the two moments (0 when none was).
    double longestWaitMs(Clock::time_point from, Clock::time_point to) const;
    int queriesBetween(Clock::time_point from, Clock::time_point to) const;

private:
    void run(uint16_t port, std::chrono::milliseconds spacing);

    mutable std::mutex mutex_;
    std::vector<Sample> samples_;
    std::optional<Clock::time_point> inFlight_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace e2e
