// The update check against real HTTP servers on loopback: verdicts, refused answers, pages that
// are no answer, silence past the minute and servers that cannot be reached.
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include "engine/UpdateCheck.h"
#include "foundation/FileVersions.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "tests/engine/WebFixture.h"
#include "tests/platform/http/LoopbackHttpServer.h"
#include "tests/platform/http/PythonHttpServer.h"
#include "tests/platform/http/WaitFor.h"

namespace {

namespace dialogs = platform::dialogs;

std::string answerWith(const std::string& version) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<response><items><item><Id>7</Id><Lib1>" + version +
           "</Lib1></item><item><Lib1>9999.9999</Lib1></item></items></response>\n";
}

const std::string kHtmlPage =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 "
    "Strict//EN\">\n<html><body>Maintenance</body></html>\n";

class UpdateCheckTest : public webtest::EngineWindowTest {
protected:
    void SetUp() override {
        EngineWindowTest::SetUp();
        running = Lib_Systeme::VersionApplication().substr(0, 9);
    }
    void TearDown() override {
        ::unsetenv("AL3_VERSION_SERVICE");
        EngineWindowTest::TearDown();
    }
    void serviceAt(const std::string& base) { ::setenv("AL3_VERSION_SERVICE", base.c_str(), 1); }
    std::filesystem::path answerFile() const { return drive.host(engine::kVersionReplyFile); }
    // What the check asked, as "kind|title|text".
    std::vector<std::string> asked() const {
        std::vector<std::string> lines;
        for (const auto& a : dialogs::asked())
            lines.push_back(std::string(a.kind == dialogs::Kind::Task ? "task" : "box") + "|" + a.title +
                            "|" + a.text);
        return lines;
    }
    std::string box(const std::string& text) const { return "box|" + webtest::kCaption + "|" + text; }
    std::string verdict(const std::string& latest, const std::string& text) const {
        return "task|" + webtest::kCaption + "|Dernière version disponible: " + latest +
               "\nVotre version: " + running + "\n" + text;
    }

    std::string running;
};

TEST_F(UpdateCheckTest, TheVerdictComparesTheServicesVersionWithTheRunningOneAsText) {
    const int year = std::stoi(running.substr(0, 4));
    struct Case {
        std::string latest;
        std::string verdict;
    };
    const std::vector<Case> cases = {
        {std::to_string(year + 1) + ".0101", "Vous n'êtes pas à jour"},
        {running, "Vous êtes à jour"},
        {running + ".2359", "Vous n'êtes pas à jour"},  // longer, same start: greater as text
        {running.substr(0, 7), "Vous êtes à jour"},     // shorter: smaller as text
        {std::to_string(year - 1) + ".1231", "Vous êtes à jour"},
    };
    webtest::LoopbackHttpServer server;
    serviceAt(server.base());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latest);
        dialogs::reset();
        server.answer("HTTP/1.1 200 OK", answerWith(c.latest));
        engine().Web_VerificationDerniereVersion();
        EXPECT_EQ(asked(), std::vector<std::string>{verdict(c.latest, c.verdict)});
        EXPECT_EQ(logCount("Web: Last version: " + c.latest + " |Running: " + running +
                           " |Sub: Frm_MainBis:Web_VerificationDerniereVersion"),
                  1);
        EXPECT_FALSE(std::filesystem::exists(answerFile()));
    }
    ASSERT_EQ(server.requests().size(), cases.size());
    EXPECT_EQ(server.requests()[0], "GET /IAL/DROITS/radio.php?_method=getByIdLocal&IdLocal=" +
                                        engine::kApplicationKey + " HTTP/1.1");
    EXPECT_EQ(engine::kApplicationKey.size(), 34u);
    EXPECT_EQ(engine().TaskDialog.hWndParent, 4242);
    EXPECT_EQ(engine().TaskDialog.DefaultButton, engine::IDOK);
}

// The service's texts reach the log on their own line, whatever they hold.
TEST_F(UpdateCheckTest, ALineBreakInTheServicesVersionIsShownNotWritten) {
    webtest::LoopbackHttpServer server;
    serviceAt(server.base());
    server.answer("HTTP/1.1 200 OK", answerWith("2099.0101&#13;&#10;15:00:00:000 : : : :    :Err: forged"));
    engine().Web_VerificationDerniereVersion();
    EXPECT_EQ(logCount("Web: Last version: 2099.0101<CRLF>15:00:00:000 : : : :    :Err: forged |Running: "),
              1);
    EXPECT_EQ(logCount("\n"), 0);
    EXPECT_EQ(logCount("\r"), 0);
}

TEST_F(UpdateCheckTest, PythonsServerAnsweringTheFileIsAnAnswerLikeAnyOther) {
    const std::filesystem::path folder = drive.root() / "served";
    std::filesystem::create_directories(folder / "IAL" / "DROITS");
    std::ofstream(folder / "IAL" / "DROITS" / "radio.php") << answerWith(running);
    webtest::PythonHttpServer server(folder);
    ASSERT_NE(server.port(), 0);
    serviceAt(server.base());
    engine().Web_VerificationDerniereVersion();
    EXPECT_EQ(asked(), std::vector<std::string>{verdict(running, "Vous êtes à jour")});
}

TEST_F(UpdateCheckTest, AnAnswerThatIsNoVersionShowsTheRequestErrorAndSaysWhyInTheLog) {
    struct Case {
        std::string status;
        std::string body;
        std::string shown;
        std::string logged;
    };
    const std::vector<Case> cases = {
        {"HTTP/1.1 404 Not Found", answerWith("2099.0101"),
         "Erreur sur la requête lancée: HTTP/1.1 404 Not Found",
         "Err: Web: Last version: HTTP/1.1 404 Not Found"},
        {"HTTP/1.1 503 Service Unavailable", "",
         "Erreur sur la requête lancée: HTTP/1.1 503 Service Unavailable",
         "Err: Web: Last version: HTTP/1.1 503 Service Unavailable"},
        {"HTTP/1.1 200 OK", kHtmlPage,
         "Erreur sur la requête lancée: ", "Err: Web: Last version: answer not readable: an HTML page"},
        {"HTTP/1.1 200 OK",
         "<response><error><type>Auth</type><message>Unknown "
         "key</message><errorcode>12</errorcode></error></response>",
         "Erreur sur la requête lancée: ",
         "Err: Web: Last version: answer not readable: the service's error: AuthUnknown key12"},
        {"HTTP/1.1 200 OK", "version=2099.0101",
         "Erreur sur la requête lancée: ", "Err: Web: Last version: answer not readable: not XML"},
        {"HTTP/1.1 200 OK", "<response><items></items></response>", "Erreur sur la requête lancée: ",
         "Err: Web: Last version: answer not readable: no version in the answer"},
    };
    webtest::LoopbackHttpServer server;
    serviceAt(server.base());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status + " " + c.body);
        dialogs::reset();
        server.answer(c.status, c.body);
        engine().Web_VerificationDerniereVersion();
        EXPECT_EQ(asked(), std::vector<std::string>{box(c.shown)});
        EXPECT_EQ(logCount(c.logged), 1);
        EXPECT_FALSE(std::filesystem::exists(answerFile()));
    }
}

TEST_F(UpdateCheckTest, SilencePastTheMinuteGivesTheTimeOutMessageOnlyAndNoAnswerFile) {
    std::ofstream(answerFile()) << answerWith("2099.0101");  // left by an earlier run
    webtest::LoopbackHttpServer server;
    server.stayMute();
    serviceAt(server.base());
    std::vector<std::string> askedAtTheMinute;
    later(400, [&] { platform::clock::advance(std::chrono::milliseconds(60000)); });
    later(800, [&] {
        askedAtTheMinute = asked();
        platform::clock::advance(std::chrono::milliseconds(1));
    });
    later(10000, [] { platform::clock::advance(std::chrono::hours(1)); });  // a failing test ends
    engine().Web_VerificationDerniereVersion();
    EXPECT_TRUE(askedAtTheMinute.empty());
    EXPECT_EQ(asked(), std::vector<std::string>{
                           box("Délai d'attente trop long. Veuillez vérifier votre connexion Internet.")});
    EXPECT_EQ(logCount("Err: Web: Last version: no answer within 60000 ms |Sub: "
                       "Frm_MainBis:Web_VerificationDerniereVersion"),
              1);
    EXPECT_FALSE(std::filesystem::exists(answerFile()));
    EXPECT_FALSE(engine().clHttp.Busy());
    EXPECT_TRUE(engine().HttpRequeteEnCours);
    EXPECT_FALSE(engine().HttpReponseRecue);
}

TEST_F(UpdateCheckTest, ACheckAskedDuringTheWaitIsRefusedAndTheFirstGetsItsAnswer) {
    webtest::LoopbackHttpServer server;
    server.stayMute();
    serviceAt(server.base());
    std::vector<std::string> askedBySecond;
    later(300, [&] {
        engine().Web_VerificationDerniereVersion();  // the menu entry chosen again
        askedBySecond = asked();
    });
    later(600, [&] { server.answerWaiting("HTTP/1.1 200 OK", answerWith(running)); });
    later(10000, [] { platform::clock::advance(std::chrono::hours(1)); });  // a failing test ends
    engine().Web_VerificationDerniereVersion();
    EXPECT_TRUE(askedBySecond.empty());
    EXPECT_EQ(asked(), std::vector<std::string>{verdict(running, "Vous êtes à jour")});
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(logCount("Warning: Web: Last version: a check is already under way, this one is "
                       "refused |Sub: Frm_MainBis:Web_VerificationDerniereVersion"),
              1);
    EXPECT_FALSE(std::filesystem::exists(answerFile()));

    // Once it is over, the next check runs again.
    dialogs::reset();
    server.answer("HTTP/1.1 200 OK", answerWith(running));
    engine().Web_VerificationDerniereVersion();
    EXPECT_EQ(asked(), std::vector<std::string>{verdict(running, "Vous êtes à jour")});
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(UpdateCheckTest, TheProgramEndingDuringTheWaitEndsTheCheckWithoutABox) {
    std::ofstream(answerFile()) << answerWith("2099.0101");
    webtest::LoopbackHttpServer server;
    server.stayMute();
    serviceAt(server.base());
    // The shut-down ends with this, from inside the check's wait; the clock stands still.
    later(400, [] { QCoreApplication::exit(0); });
    engine().Web_VerificationDerniereVersion();
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(logCount("Err: Web: Last version: the program ended before the answer |Sub: "
                       "Frm_MainBis:Web_VerificationDerniereVersion"),
              1);
    EXPECT_FALSE(std::filesystem::exists(answerFile()));
    EXPECT_FALSE(engine().clHttp.Busy());
    // The fixture needs running event loops again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(UpdateCheckTest, AServerThatCannotBeReachedOrHangsUpIsALostConnection) {
    webtest::LoopbackHttpServer hangingUp;
    hangingUp.hangUp();
    const std::vector<std::string> bases = {"http://127.0.0.1:" + std::to_string(webtest::closedPort()),
                                            hangingUp.base()};
    later(10000, [] { platform::clock::advance(std::chrono::hours(1)); });
    for (const std::string& base : bases) {
        SCOPED_TRACE(base);
        dialogs::reset();
        serviceAt(base);
        engine().Web_VerificationDerniereVersion();
        EXPECT_EQ(asked(), std::vector<std::string>{box("Connexion perdue ou délai TimeOut dépassé.")});
        EXPECT_EQ(logCount("Err: Web: Last version: Connection lost: "), int(&base - &bases[0]) + 1);
        EXPECT_FALSE(std::filesystem::exists(answerFile()));
        EXPECT_FALSE(engine().clHttp.Busy());
    }
}

TEST_F(UpdateCheckTest, TheOtherRequestControlsReportTheirAnswers) {
    struct Case {
        bool requested;
        std::string status;
        bool ok;
        std::string message;
    };
    const std::vector<Case> cases = {
        {true, "HTTP/1.1 200 OK", true, ""},
        {true, "HTTP/1.1 301 Moved Permanently\r\nLocation: http://127.0.0.1:1/", true, ""},
        {true, "HTTP/1.1 404 Not Found", false, "HTTP/1.1 404 Not Found"},
        {false, "HTTP/1.1 404 Not Found", false, ""},
    };
    webtest::LoopbackHttpServer server;
    Frm_MainBis& window = engine();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        window.HttpRKRequeteEnCours = c.requested;
        window.HttpRKReponseRecue = window.HttpRKReponseOK = false;
        window.HttpRKMessageErreur.clear();
        server.answer(c.status, "");
        std::string file = "C:\\rk.txt";
        window.clHttpRK.Get(server.base() + "/rk", file);
        ASSERT_TRUE(webtest::waitFor([&] { return !window.clHttpRK.Busy(); }));
        EXPECT_EQ(window.HttpRKReponseRecue, c.requested);
        EXPECT_EQ(window.HttpRKReponseOK, c.ok);
        EXPECT_EQ(window.HttpRKMessageErreur, c.message);
    }
    server.answer("HTTP/1.1 403 Forbidden", "");
    std::string file = "C:\\bw.txt";
    window.clHttpBWBroadcast.Get(server.base() + "/rds", file);
    ASSERT_TRUE(webtest::waitFor([&] { return !window.clHttpBWBroadcast.Busy(); }));
    EXPECT_EQ(logCount("RDS: BW Broadcast: OnReceiveResponse: HTTP/1.1 403 Forbidden"), 1);
}

}  // namespace
