// The player's message file drained through the general operation, on files the tool wrote.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <chrono>
#include <thread>

#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "tests/btrieve/BtrieveFixture.h"

using namespace btrieve_test;
using namespace Lib_Data_BTrieve;

class Drain : public BtrieveTest {
protected:
    // Get greater or equal from sixteen NULs, then delete, until status 9.
    std::vector<std::string> drain(int16_t station) {
        std::vector<std::string> texts;
        for (int guard = 0; guard < 100; ++guard) {
            PbSBtrKey = std::string(16, '\0');
            BTRieve(0, 9, PbSBtrKey, 0, 55, station, "Frm_Main:Drain");
            if (PbIBtrStatus != 0) break;
            keys.push_back(PbSBtrKey);
            texts.push_back(MessageText(PbTFRADx55));
            BTRieve(0, 4, PbSBtrKey, 0, 55, station, "Frm_Main:Drain");
            EXPECT_EQ(PbIBtrStatus, 0);
        }
        return texts;
    }
    std::vector<std::string> keys;
};

TEST_F(Drain, RecordsComeInKeyOrderAndEachIsDeleted) {
    ASSERT_EQ(runTool({"create", dataFolder, "--files", "55"}), 0);
    ASSERT_EQ(runTool({"insert", dataFolder, "--station", "1", "--key", "2026121000000002", "--nature", "EVT",
                       "--text", "  <CurrLib:Météo>  "}),
              0);
    ASSERT_EQ(runTool({"insert", dataFolder, "--station", "1", "--key-hex",
                       "00E93030303030303030303030303030", "--text", "first"}),
              0);
    ASSERT_EQ(runTool({"fill", dataFolder, "--station", "1", "--count", "2", "--first", "3"}), 0);
    ASSERT_EQ(runTool({"insert", dataFolder, "--station", "1", "--key", "2026121000000001", "--text",
                       std::string(480, 'x')}),
              0);

    FichierPervasiveOuvrir(0, 1, 1, 55, 0);
    ASSERT_TRUE(PbBBtrFileOpen[0][0][55]);
    const std::vector<std::string> expected = {"first", std::string(480, 'x'), "<CurrLib:Météo>", "Message 3",
                                               "Message 4"};
    EXPECT_EQ(drain(1), expected);
    EXPECT_EQ(PbIBtrStatus, 9);
    EXPECT_EQ(keys[0], std::string("\0\xE9", 2) + std::string(14, '0'))
        << "the key sent on is the record's own, NUL and all";

    EXPECT_TRUE(linesWith("Err:").empty());
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(BtrCallHistory[0][0],
              "S:00009 File:55 Station:1 OP:09 K:00 [                ] [Frm_Main:Drain]");
    EXPECT_EQ(BtrCallHistory[0][1],
              "S:00000 File:55 Station:1 OP:04 K:00 [2026121000000004] [Frm_Main:Drain]");
    EXPECT_EQ(BtrCallHistory[0][5].substr(0, 36), "S:00000 File:55 Station:1 OP:04 K:00");
}

// The automation holds its write lock while the program deletes: the delete waits a second at a
// time, without a report, and goes through once the lock is released.
TEST_F(Drain, ALockHeldByAnotherProcessIsRetriedUntilReleased) {
    ASSERT_EQ(runTool({"create", dataFolder, "--files", "55"}), 0);
    ASSERT_EQ(runTool({"fill", dataFolder, "--station", "1", "--count", "1"}), 0);
    FichierPervasiveOuvrir(0, 1, 1, 55, 0);
    PbSBtrKey = std::string(16, '\0');
    BTRieve(0, 9, PbSBtrKey, 0, 55, 1, "Frm_Main:Drain");
    ASSERT_EQ(PbIBtrStatus, 0);

    QProcess holder;
    holder.start(QString::fromStdString(automationTool()),
                 {"hold", QString::fromStdString(dataFolder + "FRADA55.bt6"), "--ms", "2500"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "locked");

    Lib_Data_BTrieve::seams::setSleep([this](int32_t ms) {
        sleeps.push_back(ms);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    });
    BTRieve(0, 4, PbSBtrKey, 0, 55, 1, "Frm_Main:Drain");
    EXPECT_EQ(PbIBtrStatus, 0);
    EXPECT_GE(sleeps.size(), 1u);
    EXPECT_LE(sleeps.size(), 5u) << "the lock lasts 2.5 s";
    for (int32_t ms : sleeps) EXPECT_EQ(ms, 1000);
    EXPECT_TRUE(linesWith("Err:").empty());
    EXPECT_TRUE(boxes().empty());
    holder.waitForFinished(10000);

    PbSBtrKey = std::string(16, '\0');
    BTRieve(0, 9, PbSBtrKey, 0, 55, 1, "Frm_Main:Drain");
    EXPECT_EQ(PbIBtrStatus, 9);
}

// A file that is not open is reported and refused, and the program goes on; the boxes come once
// per base, station and file, the log line every time.
TEST_F(Drain, AFileThatIsNotOpenIsReportedAndTheProgramGoesOn) {
    for (int pass = 0; pass < 2; ++pass) {
        PbSBtrKey = std::string(16, '\0');
        BTRieve(0, 9, PbSBtrKey, 0, 55, 2, "Frm_MainBis:Timer60s");
        EXPECT_EQ(PbIBtrStatus, 20);
    }
    EXPECT_EQ(processEnds, 0);
    const auto asked = boxes();
    ASSERT_EQ(asked.size(), 2u) << "the French box and the report box, once";
    EXPECT_NE(asked[0].text.find("Fichier #: 55 Station: 2 non ouvert"), std::string::npos);
    EXPECT_NE(asked[1].text.find("Err: 20\n"), std::string::npos);
    EXPECT_EQ(asked[1].title, "Aerolune: Relaytone");
    EXPECT_EQ(linesWith("Err: Fichier :").size(), 2u);

    BTRieve(0, 9, PbSBtrKey, 0, 55, 3, "Frm_MainBis:Timer60s");
    EXPECT_EQ(boxes().size(), 4u) << "another station is another file";
    EXPECT_TRUE(main.quits.empty()) << "the default answer is Abort";
}

TEST_F(Drain, TheToolSaysWhatWentWrongByItsExitCode) {
    EXPECT_EQ(runTool({"insert", dataFolder, "--station", "21", "--key", "k", "--text", "t"}), 2);
    EXPECT_EQ(runTool({"fill", dataFolder, "--station", "1"}), 2) << "no count";
    EXPECT_EQ(runTool({"frobnicate", dataFolder}), 2);
    EXPECT_EQ(runTool({"insert", dataFolder, "--station", "1", "--key", "k", "--text", "t"}), 1)
        << "no FRADA55.bt6 yet: status 12";
    ASSERT_EQ(runTool({"create", dataFolder, "--stations", "2"}), 0);
    for (const char* name : {"FRADA20.bt6", "FRADB47.bt6", "FRAD037.bt6", "FRAD059.bt6", "FRADB55.bt6"})
        EXPECT_TRUE(std::filesystem::exists(hostOf(dataFolder + name))) << name;
    EXPECT_EQ(
        runTool({"insert", dataFolder, "--station", "2", "--key", "k", "--text", std::string(481, 'x')}), 1)
        << "a text longer than 480";
    EXPECT_EQ(runTool({"insert", dataFolder, "--station", "2", "--key", "k", "--text", "t"}), 0);
    EXPECT_EQ(runTool({"insert", dataFolder, "--station", "2", "--key", "k", "--text", "t"}), 1)
        << "the same key twice: status 5";
}
