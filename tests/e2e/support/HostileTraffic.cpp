// The hostile datagram kinds, the paced run with its awaited time queries, and the log check.
#include "tests/e2e/support/HostileTraffic.h"

#include <random>
#include <regex>
#include <sstream>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QUdpSocket>

#include "tests/e2e/support/E2eSite.h"

namespace e2e {
namespace {

std::string randomBytes(std::mt19937& random, size_t size) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = char(byte(random));
    return bytes;
}

// One of the hostile kinds; `closed` is a loopback port where nothing listens.
std::string hostileDatagram(std::mt19937& random, uint16_t closed) {
    const std::string to = std::to_string(closed);
    const std::string ask = "What time is it ?<Response:";
    std::uniform_int_distribution<int> kind(0, 15);
    std::uniform_int_distribution<int> size(0, 1500);
    std::uniform_int_distribution<int> name(0, 9999);
    switch (kind(random)) {
        case 0:
            return randomBytes(random, size_t(size(random)));
        case 1:
            return randomBytes(random, 4000);  // beyond the receiver's 1024 characters
        case 2:
            return std::string("<NoStation:1>\0nul\0inside\0", 25);
        case 3:
            return "<NoStation:2><CurrLib:x\r\n" + kForgedLine + "\r\n>";
        case 4:
            return ask + "127.0.0.1:" + to + ">\n" + kForgedLine;
        case 5:
            return "<NoStation:99999999999999999999999><CurrLib:huge>";
        case 6:
            return "<NoStation:1e308>\r" + kForgedLine;
        case 7:
            return ask + "no-such-host.invalid:" + to + ">";
        case 8:
            return ask + "h" + std::to_string(name(random)) + ".invalid:" + to + ">";  // a new name
        case 9:
            return ask + "nohost:" + to + ">";
        case 10:
            return ask + "localhost:" + to + ">";  // resolves, and the reply meets a closed port
        case 11: {
            static const char* const malformed[] = {"300.1.1.1",    "1.2.3",      "1..2.3",    "1.2.3.4.5",
                                                    "999999999999", "127.0.0.1x", "0x7f.0.0.1"};
            return ask + malformed[name(random) % 7] + ":" + to + ">";
        }
        case 12: {
            static const char* const ports[] = {"0", "-1", "70000", "abc", "", "65536"};
            return ask + "127.0.0.1:" + ports[name(random) % 6] + ">";
        }
        case 13:
            return ask + "bad\r\nname\t.invalid:" + to + ">";
        case 14:
            return "<NoStation:<NoStation:<Response:<CurrNature:Evt><CurrLib:Attente";
        default:
            return ask;
    }
}

std::string awaitReply(QUdpSocket& socket, std::chrono::milliseconds limit) {
    if (!socket.waitForReadyRead(int(limit.count()))) return {};
    std::string reply(size_t(std::max<qint64>(socket.pendingDatagramSize(), 0)), '\0');
    socket.readDatagram(reply.data(), qint64(reply.size()));
    return reply;
}

}  // namespace

HostileRunResult runHostileTraffic(const std::vector<uint16_t>& ports, const HostileRunOptions& options) {
    std::mt19937 random(options.seed);
    const uint16_t closed = freeUdpPort();
    QUdpSocket sender, requester;
    requester.bind(QHostAddress::LocalHost, 0);
    const std::string query =
        "What time is it ?<Response:127.0.0.1:" + std::to_string(requester.localPort()) + ">";
    HostileRunResult result;
    const auto send = [&](const std::string& bytes, uint16_t port) {
        sender.writeDatagram(bytes.data(), qint64(bytes.size()), QHostAddress::LocalHost, port);
    };
    for (size_t round = 0; result.hostileSent < options.hostile; ++round) {
        const uint16_t port = ports[round % ports.size()];
        for (int k = 0; k < options.batch && result.hostileSent < options.hostile; ++k, ++result.hostileSent)
            send(hostileDatagram(random, closed), port);

        const int station = int(round % 20) + 1;
        const std::string message = "<NoStation:" + std::to_string(station) +
                                    "><CurrNature:Mus><CurrLib:Titre sous attaque " + std::to_string(round) +
                                    ">";
        send(message, port);
        result.messages.push_back(message);
        result.stations.push_back(station);

        while (requester.hasPendingDatagrams()) awaitReply(requester, std::chrono::milliseconds{0});
        QElapsedTimer clock;
        clock.start();
        send(query, port);
        ++result.queries;
        if (awaitReply(requester, options.replyLimit).rfind("<Relaytone_Time:", 0) == 0) {
            ++result.answered;
            result.latencyMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    return result;
}

std::vector<std::string> foreignLogLines(const std::string& log) {
    static const std::regex stamped(R"(^\d\d:\d\d:\d\d:\d\d\d :)");
    const std::string header = "==:==:==:====:=:=:=:";
    const std::string forgedStamp = kForgedLine.substr(0, 12);
    std::vector<std::string> foreign;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const bool ours = line.rfind(header, 0) == 0 || std::regex_search(line, stamped);
        if (!ours || line.rfind(forgedStamp, 0) == 0) foreign.push_back(line);
    }
    return foreign;
}

int countLines(const std::string& log, const std::string& fragment) {
    int count = 0;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line))
        if (line.find(fragment) != std::string::npos) ++count;
    return count;
}

}  // namespace e2e
