// The file-information record from the host's file system: columns, modes, missing files and
// folders, and a size beyond 32 bits.
#include <fstream>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "foundation/ErrorReporter.h"
#include "foundation/FileInformation.h"
#include "foundation/LogBuffers.h"
#include "platform/Clock.h"
#include "tests/support/TempSite.h"

namespace {

platform::LocalClockTime at(const std::string& text) {
    platform::LocalClockTime moment;
    EXPECT_TRUE(platform::parseInstant(text, moment)) << text;
    return moment;
}

int logCount(const std::string& text) {
    int count = 0;
    for (const std::string& line : logbuffers::earlyBuffer())
        if (line.find(text) != std::string::npos) ++count;
    return count;
}

class FileInformationTest : public support::SiteTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(drive.host("C:\\") / "Logs");
        std::ofstream(drive.root() / "Logs" / "20261210.Log") << std::string(12345, 'x');
        // 2 November 2026, 08:15 local time, for both the modification and the access.
        struct tm local {};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 10;
        local.tm_mday = 2;
        local.tm_hour = 8;
        local.tm_min = 15;
        local.tm_isdst = -1;
        const struct timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
        utimensat(AT_FDCWD, (drive.root() / "Logs" / "20261210.Log").c_str(), times, 0);
    }
    void TearDown() override { platform::clock::useSystem(); }

    FileInfo read(const std::string& file, bool dateOnly = false, bool sizeAndDate = false) {
        FileInfo info;
        info.Nom = "left from before";
        info.Taille = 99;
        Lib_Public::InformationsFichier(file, info, dateOnly, sizeAndDate);
        return info;
    }
};

TEST_F(FileInformationTest, AFileGivesItsShellColumnsExactSizeAndNames) {
    // Asked in another case, as Windows allows: the names come back as on disk.
    const FileInfo info = read("c:\\LOGS\\20261210.log");
    EXPECT_EQ(info.Nom, "20261210.Log");
    EXPECT_EQ(info.Taille, 12345);
    EXPECT_EQ(info.Type, "Fichier LOG");
    EXPECT_EQ(info.DateModification, at("2026-11-02 08:15:00"));
    EXPECT_EQ(info.accessDate, at("2026-11-02 08:15:00"));
    EXPECT_EQ(info.Details06a17[0], "");  // attributes: neither read-only nor hidden
    struct passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    const std::string owner = info.Details06a17[4];
    EXPECT_EQ(owner.substr(owner.rfind('\\') + 1), user->pw_name);
    EXPECT_EQ(info.fullPath, "C:\\Logs\\20261210.Log");
    EXPECT_EQ(info.parentFolder, "C:\\Logs");
    EXPECT_EQ(info.stem, "20261210");
    EXPECT_EQ(info.Extension, "Log");
    EXPECT_EQ(info.shortPath, "C:\\Logs\\20261210.Log");
    EXPECT_EQ(info.shortName, "20261210.Log");
    EXPECT_EQ(logbuffers::earlyBuffer().size(), 0u);
}

TEST_F(FileInformationTest, TheModesReadOnlyWhatTheyAskFor) {
    platform::clock::setManual(at("2026-12-10 09:30:00"), 1000);
    struct Case {
        bool dateOnly, sizeAndDate;
        std::string name;
        int32_t size;
        std::string absolutePath;
    };
    const std::vector<Case> cases = {
        {true, false, "", 0, ""},                            // no size, no file-system object
        {true, true, "", 0, ""},                             // the date-only flag wins
        {false, true, "", 12345, "C:\\Logs\\20261210.Log"},  // 13 Ko from the shell, then bytes
        {false, false, "20261210.Log", 12345, "C:\\Logs\\20261210.Log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dateOnly) + std::to_string(c.sizeAndDate));
        const FileInfo info = read("C:\\Logs\\20261210.Log", c.dateOnly, c.sizeAndDate);
        EXPECT_EQ(info.Nom, c.name);
        EXPECT_EQ(info.Taille, c.size);
        EXPECT_EQ(info.fullPath, c.absolutePath);
        EXPECT_EQ(info.DateModification, at("2026-11-02 08:15:00"));
        if (c.sizeAndDate || c.dateOnly) {
            EXPECT_EQ(info.Type, "");
            EXPECT_EQ(info.accessDate, at("2026-12-10 09:30:00"));  // the reset value
        }
    }
}

TEST_F(FileInformationTest, AMissingFileOrFolderIsOneLogLineAndTheRecordStaysReset) {
    platform::clock::setManual(at("2026-12-10 09:30:00"), 1000);
    struct Case {
        std::string file;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"C:\\Logs\\absent.Log",
         "Err: 53: File not found: C:\\Logs\\absent.Log |Sub: Lib_Public:InformationsFichier:30"},
        {"C:\\Nowhere\\x.Log",
         "Err: 91: Object variable or With block variable not set (Fichier: C:\\Nowhere\\x.Log) "
         "Fichier: C:\\Nowhere\\x.Log |Sub: Lib_Public:InformationsFichier:30"},
        {"20261210.Log",
         "Err: 91: Object variable or With block variable not set (Fichier: 20261210.Log) "
         "Fichier: 20261210.Log |Sub: Lib_Public:InformationsFichier:30"},
        {"C:\\Logs\\", "Err: 53: File not found: C:\\Logs\\ |Sub: Lib_Public:InformationsFichier:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        for (bool dateOnly : {false, true}) {
            logbuffers::earlyBuffer().clear();
            const FileInfo info = read(c.file, dateOnly);
            EXPECT_EQ(logCount(c.line), 1);
            EXPECT_EQ(logbuffers::earlyBuffer().size(), 1u);
            EXPECT_EQ(info.Nom, "");
            EXPECT_EQ(info.Taille, 0);
            EXPECT_EQ(info.fullPath, "");
            EXPECT_EQ(info.DateModification, at("2026-12-10 09:30:00"));
            EXPECT_EQ(info.Detail25, at("2026-12-10 09:30:00"));
        }
    }
}

TEST_F(FileInformationTest, ASizeBeyond32BitsIsReportedAndTheNamesStillCome) {
    std::filesystem::resize_file(drive.root() / "Logs" / "20261210.Log", 3ull << 30);
    const FileInfo info = read("C:\\Logs\\20261210.Log");
    EXPECT_EQ(DerniereErreur.number, 6);
    EXPECT_EQ(DerniereErreur.description, "Overflow (Fichier: C:\\Logs\\20261210.Log)");
    EXPECT_EQ(DerniereErreur.line, 60);
    EXPECT_EQ(info.Taille, 3145728);  // the shell's "3 145 728 Ko" is all that fits
    EXPECT_EQ(info.shortName, "20261210.Log");
}

}  // namespace
