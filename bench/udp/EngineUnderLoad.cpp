// Shared set-up of the UDP load tools.
#include "bench/udp/EngineUnderLoad.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "engine/Frm_MainBis.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "settings/FrmSetupPeripherique.h"

namespace udpbench {
namespace {

namespace fs = std::filesystem;

// A C: root of its own whose log folder is known, with the settings window counted as loaded:
// every line then reaches the day's file as it does in the running program.
struct LogSite {
    fs::path root;
    LogSite() {
        std::random_device random;
        root = fs::temp_directory_path() /
               ("al3-bench-udp-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        fs::create_directories(root / "AudioLog" / "Histo_AL3_Relaytone");
        ::setenv("AL3_DRIVE_C", root.c_str(), 1);
        PbSDossierLog = "C:\\AudioLog\\Histo_AL3_Relaytone\\";
        PbBFrmSetupChargee = true;
    }
    ~LogSite() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

uint16_t loadEngine(int row) {
    static LogSite site;
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
    local << std::uppercase << std::hex << ":" << (port >> 12 & 0xF) << (port >> 8 & 0xF)
          << (port >> 4 & 0xF) << (port & 0xF);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, localAddress;
        fields >> slot >> localAddress;
        if (localAddress.size() < 5 || localAddress.substr(localAddress.size() - 5) != local.str())
            continue;
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
