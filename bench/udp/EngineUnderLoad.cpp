// Shared set-up of the UDP load tools.
#include "bench/udp/EngineUnderLoad.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "bench/support/BenchSite.h"
#include "engine/Frm_MainBis.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "settings/FrmSetupPeripherique.h"

namespace udpbench {

uint16_t loadEngine(int row) {
    static bench::LogSite site("udp");
    PbLVersionOS = 10;
    Frm_MainBis& engine = Frm_MainBis::get();
    FrmSetupPeripherique::get();
    engine.BindSocketWrenchUDPIn(int16_t(row), "127.0.0.1", 0, "bench");
    return uint16_t(engine.SocketWrenchUDPIn[size_t(row)].LocalPort());
}

Client::Client() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t length = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length);
    port_ = ntohs(a.sin_port);
}

Client::~Client() { ::close(fd_); }

void Client::send(const std::string& bytes, uint16_t toPort) const {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(toPort);
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
}

bool Client::receive(std::string& bytes, std::chrono::milliseconds limit) const {
    timeval tv{};
    tv.tv_sec = limit.count() / 1000;
    tv.tv_usec = (limit.count() % 1000) * 1000;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char buffer[2048];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0) return false;
    bytes.assign(buffer, size_t(n));
    return true;
}

int64_t droppedOn(uint16_t port) {
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);  // header
    std::ostringstream local;
    local << std::uppercase << std::hex << ":" << (port >> 12 & 0xF) << (port >> 8 & 0xF) << (port >> 4 & 0xF)
          << (port & 0xF);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, localAddress;
        fields >> slot >> localAddress;
        if (localAddress.size() < 5 || localAddress.substr(localAddress.size() - 5) != local.str()) continue;
        std::string field, last;
        while (fields >> field) last = field;
        return std::stoll(last);
    }
    return -1;
}

Percentiles percentiles(std::vector<double> microseconds) {
    if (microseconds.empty()) return {};
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double q) { return microseconds[size_t(q * double(microseconds.size() - 1))]; };
    return {at(0.50), at(0.99), microseconds.back()};
}

}  // namespace udpbench
