// Build version from the compiled version record, and product versions read from files on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <regex>

#include <sys/stat.h>

#include "foundation/Conversions.h"
#include "foundation/FileVersions.h"
#include "platform/WinPath.h"
#include "tests/support/TempSite.h"

using namespace Lib_Systeme;

namespace {

VersionRecord numbers(int32_t major, int32_t minor, int32_t revision, const std::string& description = {}) {
    VersionRecord record;
    record.major = major;
    record.minor = minor;
    record.revision = revision;
    record.fileDescription = description;
    return record;
}

}  // namespace

TEST(FileVersions, VersionNumbersEncodeTheBuildMoment) {
    struct Case {
        VersionRecord record;
        const char* moment;  // yyyy-MM-dd hh:mm
        const char* text;
    };
    const Case cases[] = {
        {numbers(2024, 131, 1825), "2024-01-31 18:25", "2024.0131.1825"},
        {numbers(2023, 1205, 5), "2023-12-05 00:05", "2023.1205.0005"},
        {numbers(2023, 1231, 2460), "2024-01-01 01:00", "2024.0101.0100"},  // minute 60 carries over
        {numbers(2023, 1301, 0), "2024-01-01 00:00", "2024.0101.0000"},     // month 13 too
        {numbers(1999, 1, 1, "no date here"), "2000-01-01 00:00", "2000.0101.0000"},
        {numbers(1999, 1, 1, "14/07/2021 10:30:00"), "2021-07-14 10:30", "2021.0714.1030"},
    };
    for (const Case& c : cases) {
        const auto moment = DateOfVersion(c.record);
        EXPECT_EQ(Lib_Public::Date2StringEx(moment, "yyyy-MM-dd hh:mm"), c.moment) << c.text;
        EXPECT_EQ(VersionText(moment), c.text);
    }
}

TEST(FileVersions, OwnBuildVersionHasTheStampShape) {
    EXPECT_TRUE(std::regex_match(VersionApplication(), std::regex(R"(20\d\d\.\d{4}\.\d{4})")))
        << VersionApplication();
    EXPECT_EQ(VersionApplicationRecord().productName, "AL3_Relaytone");
    EXPECT_EQ(VersionApplicationRecord().companyName, "Aerolune");
}

TEST(FileVersions, OwnBuildMomentIsWhenThisExecutableWasBuilt) {
    // The stamp is taken as the build starts, before this executable is linked; a stamp taken
    // when CMake configured would lag behind every later rebuild.
    struct stat executable {};
    ASSERT_EQ(::stat("/proc/self/exe", &executable), 0);
    std::tm local{};
    ASSERT_NE(::localtime_r(&executable.st_mtime, &local), nullptr);
    const platform::LocalClockTime linked = platform::timeOf({.year = local.tm_year + 1900,
                                                              .month = local.tm_mon + 1,
                                                              .day = local.tm_mday,
                                                              .hour = local.tm_hour,
                                                              .minute = local.tm_min,
                                                              .second = local.tm_sec});
    const platform::LocalClockTime built = DateApplication();
    EXPECT_LE(built, linked) << VersionApplication();
    EXPECT_LT(linked - built, std::chrono::hours(2)) << VersionApplication();
}

TEST(FileVersions, ProductVersionTextCutsEachFieldToItsWidth) {
    struct Case {
        uint32_t a, b, c, d;
        const char* text;
    };
    const Case cases[] = {
        {8, 0, 0, 25, "08.00.025"}, {16, 3, 1, 0, "16.03.000"}, {2024, 131, 0, 1825, "24.31.825"}};
    for (const Case& c : cases) EXPECT_EQ(ProductVersionText((c.a << 16) | c.b, (c.c << 16) | c.d), c.text);
    EXPECT_EQ(HIWORD(2024u * 65536 + 131), 2024);
    EXPECT_EQ(LOWORD(2024u * 65536 + 131), 131);
    EXPECT_EQ(HIWORD(0xFFFF0001u), 65535);
}

class FileVersionOnDisk : public support::SiteTest {};

TEST_F(FileVersionOnDisk, OurExecutablesAnswerAndOtherFilesLeaveTheTextEmpty) {
    const std::string self =
        platform::winpath::fromHost(platform::winpath::programFolderHost() / "foundation_tests");
    const VersionRecord& own = VersionApplicationRecord();
    VersionFichier(self);
    EXPECT_EQ(VersionFichierInfos,
              ProductVersionText((uint32_t(own.major) << 16) | uint32_t(own.minor), uint32_t(own.revision)));
    EXPECT_FALSE(VersionFichierInfos.empty());

    std::ofstream(drive.root() / "fpSPR80.OCX") << "MZ not one of ours";
    VersionFichier("C:\\fpSPR80.OCX");
    EXPECT_EQ(VersionFichierInfos, "");
    VersionFichier(self);
    VersionFichier("C:\\Missing.ocx");
    EXPECT_EQ(VersionFichierInfos, "");
}
