// The engine window loaded offscreen with one receiver on loopback, and a loopback client
// socket that runs on its own thread while the engine's event loop runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace udpbench {

// Loads the engine window (SocketWrench receivers), its log written to the day's file in a C:
// root of its own, and binds row `row` on 127.0.0.1, port chosen by the system; returns that
// port.
uint16_t loadEngine(int row);

// A blocking datagram socket on 127.0.0.1 for the client side.
class Client {
public:
    Client();
    ~Client();
    uint16_t port() const { return port_; }
    void send(const std::string& bytes, uint16_t toPort) const;
    // False when nothing came within the limit.
    bool receive(std::string& bytes, std::chrono::milliseconds limit) const;

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// The kernel's drop counter of the loopback socket bound on `port` (/proc/net/udp, the same
// counter SO_RXQ_OVFL reports); -1 when the socket is not found.
int64_t droppedOn(uint16_t port);

struct Percentiles {
    double p50 = 0, p99 = 0, max = 0;
};
Percentiles percentiles(std::vector<double> microseconds);

}  // namespace udpbench
