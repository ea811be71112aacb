// Hostile datagrams for the real program, interleaved with good time queries and station
// messages: shared by the end-to-end test and the attack benchmark (bench/udp).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// What a CR/LF datagram writes after its break: a line stamped as the program stamps its own,
// at a time of day that a run started at AL3_CLOCK 09:00 never reaches.
inline const std::string kForgedLine = "23:59:59:999 : : : :    :Err: FORGED by a datagram";

struct HostileRunOptions {
    int hostile = 3000;  // hostile datagrams in all
    int batch = 20;      // hostile datagrams before each station message and time query
    std::chrono::milliseconds replyLimit{10000};
    unsigned seed = 1;
};

struct HostileRunResult {
    int queries = 0;
    int answered = 0;
    std::vector<double> latencyMs;      // of the answered queries
    std::vector<std::string> messages;  // well-formed station messages sent
    std::vector<int> stations;          // and their station numbers
    int hostileSent = 0;
};

// Sends the run to the program's receive ports (loopback), round robin: each batch of hostile
// datagrams, then a station message, then a time query whose reply is awaited. The awaited
// reply bounds what waits in the program's socket, so no datagram is lost to a full buffer
// on a slow machine.
HostileRunResult runHostileTraffic(const std::vector<uint16_t>& ports, const HostileRunOptions& options);

// The log's lines that the program did not write: not blank, not the day header's, not
// stamped; and those that start with the forged stamp.
std::vector<std::string> foreignLogLines(const std::string& log);

// How many lines of the log hold the fragment.
int countLines(const std::string& log, const std::string& fragment);

}  // namespace e2e
