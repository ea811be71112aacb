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
    EXPECT_EQ(wp::toHost("c:\\Vantremo\\missing\\x.ini"), drive.root() / "Vantremo" / "missing" / "x.ini");
    EXPECT_EQ(wp::fromHost(drive.root() / "Vantremo"), "C:\\Vantremo");
    EXPECT_EQ(wp::fromHost(drive.root()), "C:\\");
}

// A path read from a file or a message cannot reach outside the folder its drive maps to.
TEST_F(WinPath, ParentFoldersStopAtTheRootOfTheDrive) {
    fs::create_directories(drive.root() / "Vantremo" / "Aerolune");
    const struct {
        const char* windows;
        fs::path host;
    } cases[] = {
        {"C:\\..\\..\\etc\\passwd", drive.root() / "etc" / "passwd"},
        {"C:\\Vantremo\\..\\..\\..\\x.ini", drive.root() / "x.ini"},
        {"C:\\Vantremo\\Aerolune\\..\\x.ini", drive.root() / "Vantremo" / "x.ini"},
        {"C:\\..", drive.root()},
    };
    for (const auto& c : cases) EXPECT_EQ(wp::toHost(c.windows), c.host) << c.windows;
    ::setenv("AL3_DRIVES", (drive.root() / "drives").c_str(), 1);
    EXPECT_EQ(wp::toHost("D:\\..\\..\\x"), drive.root() / "drives" / "D" / "x");
    EXPECT_EQ(wp::toHost("\\\\srv\\..\\..\\x"), drive.root() / "drives" / "UNC" / "x");
    // A share's root is its server and share: ".." never reaches another share.
    const fs::path unc = drive.root() / "drives" / "UNC";
    const struct {
        const char* windows;
        fs::path host;
    } shares[] = {
        {"\\\\a\\b\\..\\..\\server\\share\\dir", unc / "a" / "b" / "server" / "share" / "dir"},
        {"\\\\a\\b\\dir\\..\\..\\x", unc / "a" / "b" / "x"},
        {"\\\\a\\b\\..", unc / "a" / "b"},
        {"\\\\a\\b\\dir\\..\\x", unc / "a" / "b" / "x"},
    };
    for (const auto& c : shares) EXPECT_EQ(wp::toHost(c.windows), c.host) << c.windows;
    ::unsetenv("AL3_DRIVES");
}

// The system would open the part before a NUL: such a path names nothing.
TEST_F(WinPath, APathHoldingANulNamesNothing) {
    fs::create_directories(drive.root() / "Windows");
    ::setenv("AL3_DRIVES", (drive.root() / "drives").c_str(), 1);
    using namespace std::string_literals;
    for (const std::string& windows : {"C:\\..\\\0x\\Windows"s, "C:\\Windows\0"s, "\0C:\\Windows"s,
                                       "\\\\srv\\share\\\0..\\x"s, "D:\\a\0b"s, "relative\0"s})
        EXPECT_TRUE(wp::toHost(windows).empty()) << windows.size();
    ::unsetenv("AL3_DRIVES");
    EXPECT_EQ(wp::toHost("C:\\Windows"), drive.root() / "Windows");
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
