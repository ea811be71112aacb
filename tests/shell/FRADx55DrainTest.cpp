// The player's message file drained on a real FRADx55 written by the automation's side, and
// what the start-up replay hands on.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "btrieve/OpenClose.h"
#include "btrieve/Seams.h"
#include "engine/FRADx55Drain.h"
#include "engine/Frm_MainBis.h"
#include "foundation/ErrorReporter.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/btrcall/Btrcall.h"
#include "shell/ShellState.h"
#include "tests/support/TempSite.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

const std::string kData = "C:\\AL_Data\\";

class FRADx55Drain : public support::SiteTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(drive.host(kData));
        std::string failureText;
        ASSERT_EQ(automation::createBaseFiles(kData, 2, {55}, failureText), 0) << failureText;
        PbSDossierDataBase[0] = kData;
        PbTBases[0].Dossier_Data = kData;
        PbINbStations = 2;
        Lib_Data_BTrieve::seams::setSleep([](int32_t) {});
        Lib_Data_BTrieve::FichierPervasiveOuvrir(0, 1, 2, 55, 0);
        PbBFRADx55Ouvert = true;
        PbBCheckFRADx55EnCours = false;
        logbuffers::earlyBuffer().clear();
        platform::dialogs::queueAnswers({"ignore", "ignore", "ignore"});
    }
    void TearDown() override {
        Lib_Data_BTrieve::seams::setEngine({});
        Lib_Data_BTrieve::FichierPervasiveFermer(0, 1, 2, 55);
    }
    void writeOut(int station, int n, const std::string& textValue, const std::string& nature = "EVT") {
        automation::MessageWriter writer;
        ASSERT_EQ(writer.open(kData, station), 0);
        ASSERT_EQ(writer.insert(automation::sequenceKey(n), nature, textValue), 0);
    }
    std::vector<std::string> lineList(const std::string& textValue) const {
        std::vector<std::string> foundItems;
        for (const auto* listBox : {&logbuffers::earlyBuffer(), &logbuffers::fileBuffer()})
            for (const auto& l : *listBox)
                if (l.find(textValue) != std::string::npos) foundItems.push_back(l);
        return foundItems;
    }
};

TEST_F(FRADx55Drain, LogsAndDeletesEachRecordInKeyOrder) {
    writeOut(2, 3, "<CurrNature:Pub><CurrLib:Trois>");
    writeOut(2, 1, "<CurrNature:Mus><CurrLib:Un>", "MU");
    writeOut(2, 2, "<CurrLib:Deux>");
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_TRUE(wasFound);
    const auto readCount = lineList("UDP: Data FRADx55 read: ");
    ASSERT_EQ(readCount.size(), 3u);
    EXPECT_NE(readCount[0].find("<CurrLib:Un> |Nature: MU   |CurrNature: Mus"), std::string::npos)
        << readCount[0];
    EXPECT_NE(readCount[1].find("<CurrLib:Deux> |Nature: EVT  |CurrNature: "), std::string::npos)
        << readCount[1];
    EXPECT_NE(readCount[2].find("<CurrLib:Trois>"), std::string::npos) << readCount[2];
    EXPECT_FALSE(PbBCheckFRADx55EnCours);

    logbuffers::earlyBuffer().clear();
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_FALSE(wasFound);  // the file is empty now
    EXPECT_TRUE(lineList("UDP: Data FRADx55").empty());
}

// Each record's line names its station: the station's queue index in the log's first column.
TEST_F(FRADx55Drain, EachLineCarriesItsStationsQueueIndexInTheFirstColumn) {
    writeOut(1, 1, "<CurrLib:Premiere>");
    writeOut(2, 1, "<CurrLib:Seconde>");
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    const struct {
        const char* textValue;
        const char* columnTexts;
    } examples[] = {{"<CurrLib:Premiere>", " :0: : :"}, {"<CurrLib:Seconde>", " :1: : :"}};
    for (const auto& c : examples) {
        const auto readCount = lineList(std::string("UDP: Data FRADx55 read: ") + c.textValue);
        ASSERT_EQ(readCount.size(), 1u) << c.textValue;
        // After the stamp (hh:mm:ss:mmm) come the three columns, then the elapsed time.
        EXPECT_EQ(readCount[0].substr(12, 8), c.columnTexts) << readCount[0];
    }
}

// A record text holding line breaks stays one line of the log, as the automation wrote it.
TEST_F(FRADx55Drain, ARecordTextCannotWriteLinesOfItsOwn) {
    writeOut(1, 1, "<CurrNature:Mus\r\n15:00:00:000 : : : :    :Err: forged>\tfin", "E\nV");
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    const auto readCount = lineList("UDP: Data FRADx55 read: ");
    ASSERT_EQ(readCount.size(), 1u);
    EXPECT_NE(readCount[0].find("read: <CurrNature:Mus<CRLF>15:00:00:000 : : : :    :Err: forged>\\x09fin"
                                " |Nature: E<LF>V  |CurrNature: Mus<CRLF>15:00:00:000"),
              std::string::npos)
        << readCount[0];
    EXPECT_EQ(readCount[0].find_first_of("\r\n\t"), std::string::npos);
}

TEST_F(FRADx55Drain, ARunningDrainOrAClosedFileReadsNothing) {
    writeOut(1, 1, "<CurrLib:Reste>");
    bool wasFound = true;
    PbBCheckFRADx55EnCours = true;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_FALSE(wasFound);
    PbBCheckFRADx55EnCours = false;
    PbBFRADx55Ouvert = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_FALSE(wasFound);
    EXPECT_EQ(lineList("Err: UDP: FRADx55 not open").size(), 1u);
    EXPECT_TRUE(lineList("UDP: Data FRADx55 read: ").empty());
}

TEST_F(FRADx55Drain, AFailedDeleteEndsThatStationsWalkOnceAndTheNextStationIsDrained) {
    writeOut(1, 1, "<CurrLib:Verrouille>");
    writeOut(2, 1, "<CurrLib:Libre>");
    // Station 1's delete keeps failing, retries included, as if another process changed the
    // record; the next read (station 2's) goes through again.
    bool failureText = false, blocked = true;
    Lib_Data_BTrieve::seams::setEngine([&](uint16_t op, char* pos, void* data, uint32_t* len, char* key,
                                           uint16_t keyLen, int16_t keyNum) -> int16_t {
        if (op == platform::btrcall::OpGetGreaterOrEqual && failureText) blocked = false;
        if (op == platform::btrcall::OpDelete && blocked) {
            failureText = true;
            return platform::btrcall::StatusConflict;
        }
        return platform::btrcall::BTRCALL(op, pos, data, len, key, keyLen, keyNum);
    });
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_EQ(lineList("<CurrLib:Verrouille>").size(), 1u);  // read once, not again and again
    EXPECT_EQ(lineList("Err: FRADx55: Delete failed").size(), 1u);
    EXPECT_EQ(lineList("<CurrLib:Libre>").size(), 1u);
}

TEST_F(FRADx55Drain, AFailureInOneStationsWalkIsReportedUnderTheDrainAndTheNextIsDrained) {
    writeOut(1, 1, "<CurrLib:Un>");
    writeOut(2, 1, "<CurrLib:Deux>");
    bool hasFailed = false;
    Lib_Data_BTrieve::seams::setEngine([&](uint16_t op, char* pos, void* data, uint32_t* len, char* key,
                                           uint16_t keyLen, int16_t keyNum) -> int16_t {
        if (op == platform::btrcall::OpGetGreaterOrEqual && !std::exchange(hasFailed, true))
            throw std::runtime_error("record manager gone");
        return platform::btrcall::BTRCALL(op, pos, data, len, key, keyLen, keyNum);
    });
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_TRUE(wasFound);
    EXPECT_TRUE(lineList("<CurrLib:Un>").empty());
    EXPECT_EQ(lineList("UDP: Data FRADx55 read: <CurrLib:Deux>").size(), 1u);
    EXPECT_FALSE(lineList("record manager gone").empty());
    EXPECT_EQ(DerniereErreur.number, 5);
    EXPECT_FALSE(lineList("Frm_MainBis:UDPDataArrival_10_Check_FRADx55").empty());
    EXPECT_FALSE(PbBCheckFRADx55EnCours);
}

TEST_F(FRADx55Drain, AStationFileThatIsNotOpenIsReportedOnceAndTheOtherStationIsDrained) {
    writeOut(1, 1, "<CurrLib:Fermee>");
    writeOut(2, 1, "<CurrLib:Ouverte>");
    // The queue file was found, but station 1's copy is not open (as when its open failed).
    Lib_Data_BTrieve::FichierPervasiveFermer(0, 1, 1, 55);
    platform::dialogs::reset();  // every box takes its first button
    const auto reports = [] {
        size_t n = 0;
        for (const auto& boite : platform::dialogs::asked())
            n += boite.text.find("Err: 20") != std::string::npos;
        return n;
    };
    bool wasFound = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_TRUE(wasFound);
    EXPECT_EQ(lineList("Err: 20").size(), 1u);
    EXPECT_EQ(lineList("<CurrLib:Ouverte>").size(), 1u);
    EXPECT_LE(reports(), 1u);

    // The next drain logs it again, and asks nothing more.
    UDPDataArrival_10_Check_FRADx55(0, 0, wasFound);
    EXPECT_EQ(lineList("Err: 20").size(), 2u);
    EXPECT_LE(reports(), 1u);
}

}  // namespace

namespace {

platform::LocalClockTime instant(const char* textValue) {
    platform::LocalClockTime t;
    EXPECT_TRUE(platform::parseInstant(textValue, t));
    return t;
}

TEST_F(FRADx55Drain, TheMinuteJobDrainsOnlyOnceFiveMinutesHavePassed) {
    const auto origin = instant("2026-12-10 10:00:00");
    platform::clock::setManual(origin + std::chrono::seconds(300), 5000);
    PbDCheckFRADx55 = origin;
    PbBFeuilleChargee = true;
    writeOut(1, 1, "<CurrLib:Pendant la marche>");
    Frm_MainBis& engine = Frm_MainBis::get();

    engine.Timer60s_Timer();  // exactly 300 seconds: nothing yet
    EXPECT_TRUE(lineList("Warning: FRADx55").empty());
    EXPECT_TRUE(lineList("UDP: Data FRADx55 read: ").empty());
    EXPECT_EQ(lineList("Timer60s_Timer: Start").size(), 1u);
    EXPECT_EQ(lineList("Timer60s_Timer: End").size(), 1u);

    platform::clock::advance(std::chrono::seconds(1));
    engine.Timer60s_Timer();
    ASSERT_EQ(lineList("Warning: FRADx55: Not checked since: 10/12/2026 10:00:00").size(), 1u);
    const auto beginning = lineList("Timer60s_Timer: Check FRADx55: Start");
    const auto readBack = lineList("UDP: Data FRADx55 read: <CurrLib:Pendant la marche>");
    const auto fin = lineList("Timer60s_Timer: Check FRADx55: End");
    ASSERT_EQ(beginning.size(), 1u);
    ASSERT_EQ(readBack.size(), 1u);
    ASSERT_EQ(fin.size(), 1u);
    EXPECT_EQ(PbDCheckFRADx55, origin + std::chrono::seconds(301));

    engine.Timer60s_Timer();  // the drain just ran: the next one waits five minutes again
    EXPECT_EQ(lineList("Timer60s_Timer: Check FRADx55: Start").size(), 1u);
    platform::clock::useSystem();
}

TEST_F(FRADx55Drain, TheMinuteJobWaitsForTheWindowAndForARunningDrain) {
    platform::clock::setManual(instant("2026-12-10 10:10:00"), 5000);
    PbDCheckFRADx55 = instant("2026-12-10 10:00:00");
    Frm_MainBis& engine = Frm_MainBis::get();
    PbBFeuilleChargee = false;
    engine.Timer60s_Timer();
    PbBFeuilleChargee = true;
    PbBCheckFRADx55EnCours = true;
    engine.Timer60s_Timer();
    EXPECT_TRUE(lineList("Warning: FRADx55").empty());
    EXPECT_EQ(lineList("Timer60s_Timer: Start").size(), 2u);
    platform::clock::useSystem();
}

}  // namespace

TEST(FRADx55, ReplayDropsRdsTextsInAnyCase) {
    const struct {
        const char* textValue;
        bool replayed;
    } cases[] = {
        {"<NoStation:1><CurrNature:Mus><CurrLib:Titre>", true},
        {"<RDS:RT>Now playing", false},
        {"<rds:ps>RELAYTON", false},
        {"<NoStation:2><Rds:Rt>text", false},
        {"<RDS:PI>1234", true},
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(FRADx55::needsReplay(c.textValue), c.replayed) << c.textValue;
}
