// The real program's log folder made unable to take lines (a full small disk, the day's file
// replaced by a folder) while stations send messages and ask the time: shared by the end-to-end
// test and the log benchmark (bench/log).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/support/E2eSite.h"

namespace e2e {

// A small tmpfs mounted over a folder (as root) for the object's life, and a filler file that
// takes its room. Without the right to mount, mounted() is false and refusal() says why.
class SmallDisk {
public:
    SmallDisk(std::filesystem::path folder, size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& refusal() const { return refusal_; }
    // The filler takes every free block; then gives back that many bytes, or all of them.
    void fill();
    void leaveRoom(size_t bytes);
    void empty();

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    std::string refusal_;
};

struct StationTraffic {
    int queries = 0;
    int answered = 0;
    std::vector<double> latencyMs;      // of the answered queries, in order
    std::vector<double> askedAtMs;      // when each of them was sent, from the phase's start
    std::vector<std::string> messages;  // station messages sent
    double longestMs() const;
    double longestAskedAtMs() const;  // when the longest was asked
};

// Rounds of a station message then a time query awaited (at most replyLimit), for the duration;
// the messages carry the label and their round.
StationTraffic runStationTraffic(uint16_t port, const std::string& label, std::chrono::milliseconds duration,
                                 std::chrono::milliseconds replyLimit = std::chrono::seconds(5));

struct LogFaultPhase {
    std::string name;
    StationTraffic traffic;
};

struct LogFaultOptions {
    std::chrono::milliseconds faultLength{3000};  // each fault
    std::chrono::milliseconds roomLength{1000};   // the traffic once room came back
};

// Against the running program on the site: a normal phase, then (with a mounted small disk) the
// disk full, then the day's file replaced by a folder, then the folder gone and, on the small
// disk, room again for less than what waited (two and a half times what a normal second logs).
std::vector<LogFaultPhase> runLogFaults(const E2eSite& site, const std::string& day, SmallDisk* disk,
                                        const LogFaultOptions& options = {});

// What the program logs for a station message it heard.
std::string heardLine(const std::string& message);

}  // namespace e2e
