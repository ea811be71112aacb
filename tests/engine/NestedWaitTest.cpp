// A wait that starts inside a receiving handler (a mail to a slow server, as an error report
// sends one) keeps no station waiting: its own socket and the others answer meanwhile.
#include <cstdlib>

#include <QTimer>

#include "foundation/StatusMails.h"
#include "tests/engine/EngineFixture.h"
#include "tests/platform/mail/SmtpPeer.h"

using enginetest::EngineTest;
using nettest::LoopbackPeer;

namespace {

std::string timeQuery(quint16 replyPort) {
    return "What time is it ?<Response:127.0.0.1:" + std::to_string(replyPort) + ">";
}

}  // namespace

TEST_F(EngineTest, AMailSentFromInsideAReadHandlerLeavesEveryStationAnswered) {
    mailtest::SmtpPeer slow(drive.root() / "smtp", mailconfig::kAccount, mailconfig::password(), "DATA:2");
    ::setenv("AL3_SMTP_SERVER", slow.server().c_str(), 1);
    const quint16 own = bindRow(0), other = bindRow(1);
    bool mailUnderWay = false, mailed = false;
    engine().SocketWrenchUDPIn[0].OnRead = [&] {
        engine().SocketWrenchUDPIn_OnRead(0);
        if (mailed) return;
        mailed = mailUnderWay = true;
        engine().EnvoiMail(false, "ops@example.test", "Alerte", "", false);
        mailUnderWay = false;
    };
    LoopbackPeer automation, neighbour;
    bool askedDuringMail = false, ownAnswered = false, otherAnswered = false;
    QTimer::singleShot(300, [&] {
        askedDuringMail = mailUnderWay;
        automation.send(timeQuery(automation.port()), own);
        neighbour.send(timeQuery(neighbour.port()), other);
    });
    QTimer::singleShot(800, [&] {
        ownAnswered =
            mailUnderWay && automation.receive(std::chrono::milliseconds{0}).starts_with("<Relaytone_Time:");
        otherAnswered =
            mailUnderWay && neighbour.receive(std::chrono::milliseconds{0}).starts_with("<Relaytone_Time:");
    });
    automation.send("<NoStation:1>first", own);
    ASSERT_TRUE(nettest::waitUntil([&] { return mailed && !mailUnderWay; }, std::chrono::seconds{10}));
    EXPECT_TRUE(askedDuringMail);
    EXPECT_TRUE(ownAnswered) << "the station whose handler waits was kept waiting";
    EXPECT_TRUE(otherAnswered) << "another station was kept waiting";
    EXPECT_EQ(slow.received().size(), 1u);
    ::unsetenv("AL3_SMTP_SERVER");
}
