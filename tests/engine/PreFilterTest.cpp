// The pre-filter: what is dropped, which station queue a text joins, and what it logs.
#include "foundation/RunState.h"
#include "tests/engine/EngineFixture.h"

using enginetest::EngineTest;

namespace {

constexpr int kDropped = 0;

struct Case {
    std::string text;
    int station;  // the queue it joins, kDropped when it joins none
};

}  // namespace

TEST_F(EngineTest, PreFilterDropsOrQueuesByTheTextAlone) {
    const Case cases[] = {
        {"Test of the link", kDropped},
        {"test lower case", kDropped},
        {"A Test later on", 1},
        {"<Receipt:Ok> thanks", kDropped},
        {"<receipt:ok>", kDropped},
        {"Data <Receipt:Ok>", 1},
        {"Relaytone ? are you there", kDropped},
        {"RELAYTONE ?", kDropped},
        {"   ", kDropped},
        {"<Title:A>", 1},
        {"<NoStation:3><Title:A>", 3},
        {"<nostation:4><Title:A>", 4},
        {"<NoStation:0>x", 1},
        {"<NoStation:-4>x", 1},
        {"<NoStation:abc>x", 1},
        {"<NoStation: 7>x", 7},
        {"<NoStation:2.5>x", 2},
        {"<NoStation:3.5>x", 4},
        {"<NoStation:20>x", 20},
        {"<NoStation:2E1>x", 20},
        {"<NoStation:1e1>x", 10},
        {"<NoStation:&H3>x", 3},
        {"<NoStation:-1e30>x", 1},
        {"<CurrNature:Evt><CurrLib:Attente de la pub>", kDropped},
        {"<CurrNature:Evt><CurrLib:Attendre 10s>", kDropped},
        {"<CurrNature:Evt><CurrLib:Diffusion directe>", kDropped},
        {"<currnature:evt><currlib:attente>", kDropped},
        {"<CurrLib:Attente>", 1},
        {"<CurrNature:Evt><CurrLib:Jingle>", 1},
        {"<CurrNature:Son><CurrLib:Attente>", 1},
        {"<RDS:RT>Now playing", 1},
    };
    for (const Case& c : cases) {
        clearLog();
        const int before = c.station == kDropped ? totalQueued() : queued(c.station);
        engine().UDPDataArrival_00_Pre(0, 9, c.text, "Caller:Sub");
        EXPECT_EQ(logCount("UDP: Data arrival: " + c.text + " |Sub: Caller:Sub"), 1) << c.text;
        if (c.station == kDropped) {
            EXPECT_EQ(totalQueued(), before) << c.text;
            EXPECT_EQ(logCount("UDP: Data arrival Bis: "), 0) << c.text;
        } else {
            ASSERT_EQ(queued(c.station), before + 1) << c.text;
            EXPECT_EQ(engine().ListeDataArrival[size_t(c.station - 1)].List(before), c.text);
            EXPECT_EQ(
                logCount("UDP: Data arrival Bis: " + c.text + " |NoStation: " + std::to_string(c.station)), 1)
                << c.text;
            EXPECT_EQ(logCount("UDP: TimerDataArrival.Enabled : True |Sub: Caller:Sub>"
                               "Frm_MainBis:UDPDataArrival_00_Pre"),
                      1);
        }
    }
    EXPECT_TRUE(engine().TimerDataArrival.Enabled());
}

TEST_F(EngineTest, StationBeyondTheQueuesIsOneLineOfOursAndNoReport) {
    for (const std::string text : {"<NoStation:21>x", "<NoStation:40000>x", "<NoStation:99999999999>x",
                                   "<NoStation:1e30>x", "<NoStation:1e400>x", "<NoStation:&H7FFFFFFF>x"}) {
        clearLog();
        engine().UDPDataArrival_00_Pre(0, 0, text, "Caller:Sub");
        EXPECT_EQ(totalQueued(), 0) << text;
        const auto errors = logLines("Err: ");
        ASSERT_EQ(errors.size(), 1u) << text;
        EXPECT_NE(errors[0].find("Err: UDP: UDPDataArrival_00_Pre: NoStation out of range: "),
                  std::string::npos);
        EXPECT_FALSE(engine().TimerDataArrival.Enabled());
    }
    EXPECT_EQ(mainWindow.restarts.size(), 0u);
}

TEST_F(EngineTest, DuringStartUpEventsAreKeptAndTheDispatcherStaysOff) {
    PbBDemarrageEnCours = true;
    engine().UDPDataArrival_00_Pre(0, 0, "<CurrNature:Evt><CurrLib:Attente pub>", "S");
    engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:2><CurrNature:Evt><CurrLib:Diffusion>", "S");
    PbBDemarrageEnCours = false;
    EXPECT_EQ(queued(1), 1);
    EXPECT_EQ(queued(2), 1);
    EXPECT_FALSE(engine().TimerDataArrival.Enabled());
    EXPECT_EQ(logCount("UDP: TimerDataArrival.Enabled : False |Sub: S>Frm_MainBis:UDPDataArrival_00_Pre"), 2);
}

TEST_F(EngineTest, AResponseTagOnAMessageIsOnlyLogged) {
    nettest::LoopbackPeer peer;
    const std::string endpoint = "127.0.0.1:" + std::to_string(peer.port());
    engine().UDPDataArrival_00_Pre(0, 0, "<Response:" + endpoint + "><Title:B>", "S");
    EXPECT_EQ(queued(1), 1);  // before the dispatcher's first tick
    EXPECT_EQ(logCount("Send: 'Relaytone: Message re\xc3\xa7u' to: " + endpoint), 1);
    EXPECT_EQ(peer.receive(std::chrono::milliseconds{200}), "");
    EXPECT_TRUE(engine().SocketWrenchUDPOut[1].IsClosed());
    // No port after the colon: nothing about a send.
    engine().UDPDataArrival_00_Pre(0, 0, "<Response:127.0.0.1:>x", "S");
    EXPECT_EQ(logCount("Send: "), 1);
    EXPECT_EQ(logCount("UDP: Data arrival Bis: <Response:127.0.0.1:>x |NoStation: 1"), 1);
}
