// The Winsock control stand-in on real loopback sockets, and the Winsock error numbers.
#include <cerrno>

#include <gtest/gtest.h>

#include "platform/SystemInfo.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/WinsockUdp.h"
#include "tests/platform/net/LoopbackPeer.h"

using nettest::LoopbackPeer;
using nettest::waitUntil;
using platform::net::WinsockUdp;

TEST(WinsockUdp, BindsEveryAddressAndTakesDatagramsWhole) {
    WinsockUdp w;
    std::vector<int32_t> sizes;
    std::vector<std::string> texts;
    w.DataArrival = [&](int32_t bytesTotal) {
        sizes.push_back(bytesTotal);
        std::string data;
        EXPECT_FALSE(w.GetData(data));
        texts.push_back(data);
    };
    ASSERT_FALSE(w.Bind());
    EXPECT_EQ(w.state(), WinsockUdp::sckOpen);
    LoopbackPeer peer;
    peer.send(std::string(1500, 'z'), quint16(w.BoundPort()));
    peer.send("\x80 5", quint16(w.BoundPort()));
    ASSERT_TRUE(waitUntil([&] { return texts.size() == 2; }));
    EXPECT_EQ(sizes, (std::vector<int32_t>{1500, 3}));
    EXPECT_EQ(texts[0].size(), 1500u);
    EXPECT_EQ(texts[1], "\xe2\x82\xac 5");  // the euro sign of Windows-1252
    EXPECT_EQ(w.RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(w.RemotePort(), peer.port());
}

TEST(WinsockUdp, LocalIPIsTheMachinesAddressBoundOrNot) {
    WinsockUdp w;
    platform::system::setHostIPv4Address("192.0.2.7");
    EXPECT_EQ(w.LocalIP(), "192.0.2.7");
    ASSERT_FALSE(w.Bind());  // on every address, 0.0.0.0
    EXPECT_EQ(w.LocalIP(), "192.0.2.7");
    platform::system::setHostIPv4Address(std::string());  // a machine without a network
    EXPECT_EQ(w.LocalIP(), "127.0.0.1");
    platform::system::setHostIPv4Address(std::nullopt);
}

TEST(WinsockUdp, RaisesAddressInUseAndCloseFreesThePort) {
    WinsockUdp first;
    ASSERT_FALSE(first.Bind());
    WinsockUdp second;
    second.LocalPort = first.BoundPort();
    const platform::net::RaisedError e = second.Bind();
    EXPECT_EQ(e.number, 10048);
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(second.state(), WinsockUdp::sckClosed);
    first.Close();
    EXPECT_EQ(first.state(), WinsockUdp::sckClosed);
    EXPECT_FALSE(second.Bind());
    WinsockUdp wrapped;
    wrapped.LocalPort = 65536 + second.BoundPort();
    EXPECT_EQ(wrapped.Bind().number, 10049);
}

TEST(WinsockErrors, HostErrorsBecomeWinsockNumbers) {
    const std::pair<int, int32_t> table[] = {
        {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049}, {EACCES, 10013}, {ECONNREFUSED, 10054},
        {EAGAIN, 10035},     {EMSGSIZE, 10040},      {0, 0},
    };
    for (const auto& [host, winsock] : table) EXPECT_EQ(platform::net::fromErrno(host), winsock);
    EXPECT_EQ(platform::net::fromSocketError(QAbstractSocket::HostNotFoundError), 11001);
    EXPECT_EQ(platform::net::fromSocketError(QAbstractSocket::ConnectionRefusedError), 10054);
    EXPECT_EQ(platform::net::errorText(0), "");
}
