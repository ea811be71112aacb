// The player's message file drained on a real FRADx55 written by the automation's side, and
// what the start-up replay hands on.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "btrieve/OpenClose.h"
#include "engine/Frm_MainBis.h"
#include "btrieve/Seams.h"
#include "foundation/ErrorReporter.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Clock.h"
#include "platform/btrcall/Btrcall.h"
#include "platform/Dialogs.h"
#include "engine/FRADx55Drain.h"
#include "shell/ShellState.h"
#include "tests/support/TempSite.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

const std::string kData = "C:\\AL_Data\\";

class FRADx55Drain : public support::SiteTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(drive.host(kData));
        std::string echec;
        ASSERT_EQ(automation::createBaseFiles(kData, 2, {55}, echec), 0) << echec;
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
    void ecrire(int station, int n, const std::string& texte, const std::string& nature = "EVT") {
        automation::MessageWriter writer;
        ASSERT_EQ(writer.open(kData, station), 0);
        ASSERT_EQ(writer.insert(automation::sequenceKey(n), nature, texte), 0);
    }
    std::vector<std::string> lignes(const std::string& texte) const {
        std::vector<std::string> trouvees;
        for (const auto* liste : {&logbuffers::earlyBuffer(), &logbuffers::fileBuffer()})
            for (const auto& l : *liste)
                if (l.find(texte) != std::string::npos) trouvees.push_back(l);
        return trouvees;
    }
};

TEST_F(FRADx55Drain, LogsAndDeletesEachRecordInKeyOrder) {
    ecrire(2, 3, "<CurrNature:Pub><CurrLib:Trois>");
    ecrire(2, 1, "<CurrNature:Mus><CurrLib:Un>", "MU");
    ecrire(2, 2, "<CurrLib:Deux>");
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_TRUE(trouve);
    const auto lus = lignes("UDP: Data FRADx55 read: ");
    ASSERT_EQ(lus.size(), 3u);
    EXPECT_NE(lus[0].find("<CurrLib:Un> |Nature: MU   |CurrNature: Mus"), std::string::npos) << lus[0];
    EXPECT_NE(lus[1].find("<CurrLib:Deux> |Nature: EVT  |CurrNature: "), std::string::npos) << lus[1];
    EXPECT_NE(lus[2].find("<CurrLib:Trois>"), std::string::npos) << lus[2];
    EXPECT_FALSE(PbBCheckFRADx55EnCours);

    logbuffers::earlyBuffer().clear();
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_FALSE(trouve);  // the file is empty now
    EXPECT_TRUE(lignes("UDP: Data FRADx55").empty());
}

// Each record's line names its station: the station's queue index in the log's first column.
TEST_F(FRADx55Drain, EachLineCarriesItsStationsQueueIndexInTheFirstColumn) {
    ecrire(1, 1, "<CurrLib:Premiere>");
    ecrire(2, 1, "<CurrLib:Seconde>");
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    const struct { const char* texte; const char* colonnes; } cas[] = {
        {"<CurrLib:Premiere>", " :0: : :"}, {"<CurrLib:Seconde>", " :1: : :"}};
    for (const auto& c : cas) {
        const auto lus = lignes(std::string("UDP: Data FRADx55 read: ") + c.texte);
        ASSERT_EQ(lus.size(), 1u) << c.texte;
        // After the stamp (hh:mm:ss:mmm) come the three columns, then the elapsed time.
        EXPECT_EQ(lus[0].substr(12, 8), c.colonnes) << lus[0];
    }
}

// A record text holding line breaks stays one line of the log, as the automation wrote it.
TEST_F(FRADx55Drain, ARecordTextCannotWriteLinesOfItsOwn) {
    ecrire(1, 1, "<CurrNature:Mus\r\n15:00:00:000 : : : :    :Err: forged>\tfin", "E\nV");
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    const auto lus = lignes("UDP: Data FRADx55 read: ");
    ASSERT_EQ(lus.size(), 1u);
    EXPECT_NE(lus[0].find("read: <CurrNature:Mus<CRLF>15:00:00:000 : : : :    :Err: forged>\\x09fin"
                          " |Nature: E<LF>V  |CurrNature: Mus<CRLF>15:00:00:000"),
              std::string::npos)
        << lus[0];
    EXPECT_EQ(lus[0].find_first_of("\r\n\t"), std::string::npos);
}

TEST_F(FRADx55Drain, ARunningDrainOrAClosedFileReadsNothing) {
    ecrire(1, 1, "<CurrLib:Reste>");
    bool trouve = true;
    PbBCheckFRADx55EnCours = true;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_FALSE(trouve);
    PbBCheckFRADx55EnCours = false;
    PbBFRADx55Ouvert = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_FALSE(trouve);
    EXPECT_EQ(lignes("Err: UDP: FRADx55 not open").size(), 1u);
    EXPECT_TRUE(lignes("UDP: Data FRADx55 read: ").empty());
}

TEST_F(FRADx55Drain, AFailedDeleteEndsThatStationsWalkOnceAndTheNextStationIsDrained) {
    ecrire(1, 1, "<CurrLib:Verrouille>");
    ecrire(2, 1, "<CurrLib:Libre>");
    // Station 1's delete keeps failing, retries included, as if another process changed the
    // record; the next read (station 2's) goes through again.
    bool echec = false, bloque = true;
    Lib_Data_BTrieve::seams::setEngine([&](uint16_t op, char* pos, void* data, uint32_t* len, char* key,
                                           uint16_t keyLen, int16_t keyNum) -> int16_t {
        if (op == platform::btrcall::OpGetGreaterOrEqual && echec) bloque = false;
        if (op == platform::btrcall::OpDelete && bloque) {
            echec = true;
            return platform::btrcall::StatusConflict;
        }
        return platform::btrcall::BTRCALL(op, pos, data, len, key, keyLen, keyNum);
    });
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_EQ(lignes("<CurrLib:Verrouille>").size(), 1u);  // read once, not again and again
    EXPECT_EQ(lignes("Err: FRADx55: Delete failed").size(), 1u);
    EXPECT_EQ(lignes("<CurrLib:Libre>").size(), 1u);
}

TEST_F(FRADx55Drain, AFailureInOneStationsWalkIsReportedUnderTheDrainAndTheNextIsDrained) {
    ecrire(1, 1, "<CurrLib:Un>");
    ecrire(2, 1, "<CurrLib:Deux>");
    bool echoue = false;
    Lib_Data_BTrieve::seams::setEngine([&](uint16_t op, char* pos, void* data, uint32_t* len, char* key,
                                           uint16_t keyLen, int16_t keyNum) -> int16_t {
        if (op == platform::btrcall::OpGetGreaterOrEqual && !std::exchange(echoue, true))
            throw std::runtime_error("record manager gone");
        return platform::btrcall::BTRCALL(op, pos, data, len, key, keyLen, keyNum);
    });
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_TRUE(trouve);
    EXPECT_TRUE(lignes("<CurrLib:Un>").empty());
    EXPECT_EQ(lignes("UDP: Data FRADx55 read: <CurrLib:Deux>").size(), 1u);
    EXPECT_FALSE(lignes("record manager gone").empty());
    EXPECT_EQ(DerniereErreur.number, 5);
    EXPECT_FALSE(lignes("Frm_MainBis:UDPDataArrival_10_Check_FRADx55").empty());
    EXPECT_FALSE(PbBCheckFRADx55EnCours);
}

TEST_F(FRADx55Drain, AStationFileThatIsNotOpenIsReportedOnceAndTheOtherStationIsDrained) {
    ecrire(1, 1, "<CurrLib:Fermee>");
    ecrire(2, 1, "<CurrLib:Ouverte>");
    // The queue file was found, but station 1's copy is not open (as when its open failed).
    Lib_Data_BTrieve::FichierPervasiveFermer(0, 1, 1, 55);
    platform::dialogs::reset();  // every box takes its first button
    const auto rapports = [] {
        size_t n = 0;
        for (const auto& boite : platform::dialogs::asked())
            n += boite.text.find("Err: 20") != std::string::npos;
        return n;
    };
    bool trouve = false;
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_TRUE(trouve);
    EXPECT_EQ(lignes("Err: 20").size(), 1u);
    EXPECT_EQ(lignes("<CurrLib:Ouverte>").size(), 1u);
    EXPECT_LE(rapports(), 1u);

    // The next drain logs it again, and asks nothing more.
    UDPDataArrival_10_Check_FRADx55(0, 0, trouve);
    EXPECT_EQ(lignes("Err: 20").size(), 2u);
    EXPECT_LE(rapports(), 1u);
}

}  // namespace

namespace {

platform::LocalClockTime instant(const char* texte) {
    platform::LocalClockTime t;
    EXPECT_TRUE(platform::parseInstant(texte, t));
    return t;
}

TEST_F(FRADx55Drain, TheMinuteJobDrainsOnlyOnceFiveMinutesHavePassed) {
    const auto depart = instant("2026-12-10 10:00:00");
    platform::clock::setManual(depart + std::chrono::seconds(300), 5000);
    PbDCheckFRADx55 = depart;
    PbBFeuilleChargee = true;
    ecrire(1, 1, "<CurrLib:Pendant la marche>");
    Frm_MainBis& moteur = Frm_MainBis::get();

    moteur.Timer60s_Timer();  // exactly 300 seconds: nothing yet
    EXPECT_TRUE(lignes("Warning: FRADx55").empty());
    EXPECT_TRUE(lignes("UDP: Data FRADx55 read: ").empty());
    EXPECT_EQ(lignes("Timer60s_Timer: Start").size(), 1u);
    EXPECT_EQ(lignes("Timer60s_Timer: End").size(), 1u);

    platform::clock::advance(std::chrono::seconds(1));
    moteur.Timer60s_Timer();
    ASSERT_EQ(lignes("Warning: FRADx55: Not checked since: 10/12/2026 10:00:00").size(), 1u);
    const auto debut = lignes("Timer60s_Timer: Check FRADx55: Start");
    const auto lu = lignes("UDP: Data FRADx55 read: <CurrLib:Pendant la marche>");
    const auto fin = lignes("Timer60s_Timer: Check FRADx55: End");
    ASSERT_EQ(debut.size(), 1u);
    ASSERT_EQ(lu.size(), 1u);
    ASSERT_EQ(fin.size(), 1u);
    EXPECT_EQ(PbDCheckFRADx55, depart + std::chrono::seconds(301));

    moteur.Timer60s_Timer();  // the drain just ran: the next one waits five minutes again
    EXPECT_EQ(lignes("Timer60s_Timer: Check FRADx55: Start").size(), 1u);
    platform::clock::useSystem();
}

TEST_F(FRADx55Drain, TheMinuteJobWaitsForTheWindowAndForARunningDrain) {
    platform::clock::setManual(instant("2026-12-10 10:10:00"), 5000);
    PbDCheckFRADx55 = instant("2026-12-10 10:00:00");
    Frm_MainBis& moteur = Frm_MainBis::get();
    PbBFeuilleChargee = false;
    moteur.Timer60s_Timer();
    PbBFeuilleChargee = true;
    PbBCheckFRADx55EnCours = true;
    moteur.Timer60s_Timer();
    EXPECT_TRUE(lignes("Warning: FRADx55").empty());
    EXPECT_EQ(lignes("Timer60s_Timer: Start").size(), 2u);
    platform::clock::useSystem();
}

}  // namespace

TEST(FRADx55, ReplayDropsRdsTextsInAnyCase) {
    const struct { const char* texte; bool rejoue; } cases[] = {
        {"<NoStation:1><CurrNature:Mus><CurrLib:Titre>", true},
        {"<RDS:RT>Now playing", false},
        {"<rds:ps>RELAYTON", false},
        {"<NoStation:2><Rds:Rt>text", false},
        {"<RDS:PI>1234", true},
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(FRADx55::ARejouer(c.texte), c.rejoue) << c.texte;
}
