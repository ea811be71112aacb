// Opening and closing a base's files on the real record manager.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "tests/btrieve/BtrieveFixture.h"
#include "tests/support/WindowsFiles.h"
#include "tests/tools/automation/AutomationSide.h"

using namespace btrieve_test;
using namespace Lib_Data_BTrieve;

class OpenClose : public BtrieveTest {
protected:
    void create(std::vector<int16_t> files, int stations = 1) {
        std::string failed;
        ASSERT_EQ(automation::createBaseFiles(dataFolder, stations, files, failed), 0) << failed;
    }
    std::string path(const std::string& name) const { return dataFolder + name; }
};

TEST_F(OpenClose, MissingMessageFilesAreSkippedSilently) {
    create({55}, 3);
    std::filesystem::remove(hostOf(path("FRADB55.bt6")));
    FichierPervasiveOuvrir(0, 1, 3, 55, 0);
    EXPECT_TRUE(PbBBtrFileOpen[0][0][55]);
    EXPECT_FALSE(PbBBtrFileOpen[0][1][55]);
    EXPECT_TRUE(PbBBtrFileOpen[0][2][55]);
    EXPECT_EQ(BtrFilePath[0][55][1], path("FRADB55.bt6"));
    EXPECT_EQ(PbSBtrCheminsOuverts, path("FRADA55.bt6") + "::" + path("FRADC55.bt6") + "::");
    EXPECT_EQ(BtrRecordLength[55], 500);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(linesWith("Err:").empty());
    EXPECT_TRUE(BtrCallHistory[0][0].empty());
}

TEST_F(OpenClose, OptionalFilesAreCreatedWhenMissingOrEmpty) {
    std::ofstream(hostOf(path("FRADB44.bt6")));  // 0 bytes counts as missing
    FichierPervasiveOuvrir(0, 1, 2, 44, 0);
    for (const char* name : {"FRADA44.bt6", "FRADB44.bt6"}) {
        EXPECT_EQ(linesWith("File: " + path(name) + " not found |Create empty structure").size(), 1u);
        EXPECT_GT(std::filesystem::file_size(hostOf(path(name))), 0u);
    }
    EXPECT_TRUE(PbBBtrFileOpen[0][0][44]);
    EXPECT_TRUE(PbBBtrFileOpen[0][1][44]);
    EXPECT_EQ(BtrieveFileSpec[2] | (BtrieveFileSpec[3] << 8), 4096);
    EXPECT_EQ(BtrieveFileSpec[4], 3);
    EXPECT_TRUE(boxes().empty());

    PbSDossierDataBase[0] = "C:\\Missing\\";
    FichierPervasiveOuvrir(0, 1, 1, 40, 0);
    EXPECT_EQ(linesWith("Err: File: C:\\Missing\\FRADA40.bt6 not created |Status: 12").size(), 1u);
    EXPECT_FALSE(PbBBtrFileOpen[0][0][40]);
    EXPECT_TRUE(boxes().empty());
}

// One file per base opened for three stations: three handles, and closing one leaves the others.
TEST_F(OpenClose, EachStationHasItsOwnHandleAndClosesAlone) {
    create({37, 55}, 1);
    FichierPervasiveOuvrir(0, 1, 3, 37, 0);
    FichierPervasiveOuvrir(0, 1, 1, 55, 0);
    for (size_t i = 0; i < 3; ++i) ASSERT_TRUE(PbBBtrFileOpen[0][i][37]) << i;
    EXPECT_NE(BtrPosBlock[0][0][37], BtrPosBlock[0][1][37]);
    EXPECT_EQ(PbSBtrCheminsOuverts, std::string(path("FRAD037.bt6") + "::")
                                        .append(path("FRAD037.bt6") + "::")
                                        .append(path("FRAD037.bt6") + "::" + path("FRADA55.bt6") + "::"));

    FichierPervasiveFermer(0, 1, 1, 37);
    EXPECT_FALSE(PbBBtrFileOpen[0][0][37]);
    std::string key(8, '\0');
    BTRieve(0, 9, key, 0, 37, 2, "Test:Open");
    EXPECT_EQ(PbIBtrStatus, 9) << "station 2's handle still works after station 1's close";
    key = std::string(16, '\0');
    BTRieve(0, 9, key, 0, 55, 1, "Test:Open");
    EXPECT_EQ(PbIBtrStatus, 9) << "another file stays open too";

    FichierPervasiveFermer(0, 1, 3, 37);
    EXPECT_FALSE(PbBBtrFileOpen[0][1][37]);
    EXPECT_FALSE(PbBBtrFileOpen[0][2][37]);
    const size_t lines = logLines().size();
    FichierPervasiveFermer(0, 1, 3, 37);  // nothing open: nothing called, nothing written
    EXPECT_EQ(logLines().size(), lines);
    EXPECT_TRUE(linesWith("Unable to close").empty());
}

TEST_F(OpenClose, AFileThatIsNotOursIsReportedWithTheRestoreAdvice) {
    support::writeWindowsFile(hostOf(path("FRADA20.bt6")), "20;Artiste;texte\n");
    platform::dialogs::queueAnswers({"abort"});
    FichierPervasiveOuvrir(0, 1, 1, 20, 0);
    EXPECT_FALSE(PbBBtrFileOpen[0][0][20]);
    EXPECT_EQ(BtrCallHistory[0][0], "S:00030 File:20 Station:1 OP:00 K:00 [" + path("FRADA20.bt6") + "]");
    ASSERT_EQ(boxes().size(), 1u);
    const std::string text = boxes()[0].text;
    EXPECT_NE(text.find("Err: 30: The file specified is not a MicroKernel file\n\n 0>S:00030 File:20"),
              std::string::npos);
    EXPECT_NE(text.find("\nFaîtes une restauration de ce fichier\n"), std::string::npos);
    EXPECT_EQ(support::readWindowsFile(hostOf(path("FRADA20.bt6"))), "20;Artiste;texte\n");
    EXPECT_TRUE(main.quits.empty());
}

TEST_F(OpenClose, AListedFileThatHasGoneIsStatus12WithItsPath) {
    create({55}, 2);
    FichierPervasiveOuvrir(0, 2, 2, 55, 0);
    FichierPervasiveFermer(0, 2, 2, 55);
    std::filesystem::remove(hostOf(path("FRADB55.bt6")));
    FichierPervasiveOuvrir(0, 2, 2, 55, 0);
    EXPECT_EQ(BtrCallHistory[0][0], "S:00012 File:55 (" + path("FRADB55.bt6") + ") Station:2 OP:00 K:00 [" +
                                        path("FRADB55.bt6") + "]");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find("Err: 12: The MicroKernel cannot find the specified file (" +
                                   path("FRADB55.bt6") + ")"),
              std::string::npos);
}

// The opened-paths list is read entry by entry without regard to case: a listed name in other
// letters counts, a listed longer name does not.
TEST_F(OpenClose, OpenedPathsMatchWholeEntries) {
    create({55}, 1);
    PbSBtrCheminsOuverts = "C:\\AL_DATA\\FRADA55.BT6::C:\\AL_Data\\FRADB55.bt6.old::";
    std::filesystem::remove(hostOf(path("FRADA55.bt6")));
    FichierPervasiveOuvrir(0, 1, 2, 55, 0);
    EXPECT_FALSE(PbBBtrFileOpen[0][0][55]);
    EXPECT_EQ(boxes().size(), 1u) << "station 1 was listed, so its open was tried and reported";
    EXPECT_FALSE(PbBBtrFileOpen[0][1][55]);
    EXPECT_EQ(BtrCallHistory[0][1], "") << "station 2 was not listed: skipped without a word";
}

TEST_F(OpenClose, ANetworkDataFolderIsRefusedWithOneLine) {
    PbSDossierDataBase[0] = "\\\\server\\share\\AL_Data\\";
    FichierPervasiveOuvrir(0, 1, 2, 55, 0);
    FichierPervasiveOuvrir(0, 1, 2, 44, 0);
    EXPECT_EQ(linesWith("Err: Data folder on a network path, files not opened: "
                        "\\\\server\\share\\AL_Data\\")
                  .size(),
              1u);
    EXPECT_FALSE(PbBBtrFileOpen[0][0][44]);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenClose, OutOfRangeArgumentsAreReportedNotFollowed) {
    FichierPervasiveOuvrir(5, 1, 1, 55, 0);
    FichierPervasiveOuvrir(0, 1, 21, 55, 0);
    FichierPervasiveFermer(0, 0, 1, 55);
    EXPECT_EQ(linesWith("Err: 9 (Subscript out of range").size(), 3u);
}

TEST_F(OpenClose, EngineVersionsHaveTheirShape) {
    GetVersionsMoteur();
    EXPECT_EQ(PbIBtrStatus, 0);
    EXPECT_TRUE(
        std::regex_match(PbSBtrEngineVersion,
                         std::regex(R"(Client:  1\.00\.076 \|Moteur:  3\.\d\d\.083 \|Serveur:  0\.00\.032)")))
        << PbSBtrEngineVersion;

    seams::setEngine(
        [](uint16_t, char*, void*, uint32_t*, char*, uint16_t, int16_t) -> int16_t { return 20; });
    GetVersionsMoteur();
    EXPECT_EQ(PbSBtrEngineVersion, "");
    EXPECT_TRUE(boxes().empty());
}
