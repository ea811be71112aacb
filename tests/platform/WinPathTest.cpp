// Windows paths to host paths: drive mapping and names matched without regard to case.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/WinPath.h"
#include "tests/support/TempSite.h"

namespace fs = std::filesystem;
namespace wp = platform::winpath;

class WinPath : public support::SiteTest {};

TEST_F(WinPath, DriveCMapsToTheRootAndMatchesAnyCase) {
    fs::create_directories(drive.root() / "Vantremo" / "Aerolune");
    EXPECT_EQ(wp::toHost("C:\\vantremo\\AEROLUNE\\"), drive.root() / "Vantremo" / "Aerolune");
    EXPECT_EQ(wp::toHost("c:\\Vantremo\\missing\\x.ini"),
              drive.root() / "Vantremo" / "missing" / "x.ini");
    EXPECT_EQ(wp::fromHost(drive.root() / "Vantremo"), "C:\\Vantremo");
    EXPECT_EQ(wp::fromHost(drive.root()), "C:\\");
}

// A path read from a file or a message cannot reach outside the folder its drive maps to.
TEST_F(WinPath, ParentFoldersStopAtTheRootOfTheDrive) {
    fs::create_directories(drive.root() / "Vantremo" / "Aerolune");
    const struct { const char* windows; fs::path host; } cases[] = {
        {"C:\\..\\..\\etc\\passwd", drive.root() / "etc" / "passwd"},
        {"C:\\Vantremo\\..\\..\\..\\x.ini", drive.root() / "x.ini"},
        {"C:\\Vantremo\\Aerolune\\..\\x.ini", drive.root() / "Vantremo" / "x.ini"},
        {"C:\\..", drive.root()},
    };
    for (const auto& c : cases) EXPECT_EQ(wp::toHost(c.windows), c.host) << c.windows;
    ::setenv("AL3_DRIVES", (drive.root() / "drives").c_str(), 1);
    EXPECT_EQ(wp::toHost("D:\\..\\..\\x"), drive.root() / "drives" / "D" / "x");
    EXPECT_EQ(wp::toHost("\\\\srv\\..\\..\\x"), drive.root() / "drives" / "UNC" / "x");
    ::unsetenv("AL3_DRIVES");
}

TEST_F(WinPath, OtherDrivesAndSharesAreMissingUnlessMapped) {
    ::unsetenv("AL3_DRIVES");
    EXPECT_TRUE(wp::toHost("D:\\data").empty());
    EXPECT_TRUE(wp::toHost("\\\\server\\share\\x").empty());
    EXPECT_EQ(wp::toHost("Z:\\tmp"), fs::path("/tmp"));
    EXPECT_EQ(wp::fromHost("/usr/bin"), "Z:\\usr\\bin");
    ::setenv("AL3_DRIVES", (drive.root() / "drives").c_str(), 1);
    EXPECT_EQ(wp::toHost("D:\\data"), drive.root() / "drives" / "D" / "data");
    EXPECT_EQ(wp::toHost("\\\\srv\\share"), drive.root() / "drives" / "UNC" / "srv" / "share");
    ::unsetenv("AL3_DRIVES");
}

TEST(WinPathProgram, ProgramFolderEndsWithBackslash) {
    const std::string folder = wp::programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
}
