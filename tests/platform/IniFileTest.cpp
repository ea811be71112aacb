// The profile-file engine: Windows rules on read, byte-for-byte keeping and atomic replacement on write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/IniFile.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace ini = platform::ini;
namespace fs = std::filesystem;
using support::readBytes;

namespace {

class IniFile : public support::SiteTest {
protected:
    const std::string file = "C:\\Settings\\Test.ini";
    fs::path host() const { return drive.root() / "Settings" / "Test.ini"; }
    void writeRaw(const std::string& bytes) {
        fs::create_directories(host().parent_path());
        std::ofstream(host(), std::ios::binary) << bytes;
    }
    static ino_t inodeOf(const fs::path& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }
    std::string get(const std::string& section, const std::string& key, size_t buffer = 255) {
        return ini::getString(file, section, key, "dflt", buffer);
    }
};

}  // namespace

// A file as the automation's tools leave it: CRLF, Windows-1252, comments, a duplicate section.
TEST_F(IniFile, ReadsAWindowsWrittenFile) {
    support::writeWindowsFile(host(),
                              "; réglages\n"
                              "[Général]\n"
                              "Nom = Radio Été  \n"
                              "Quoted=\"  spaced  \"\n"
                              "Single='x'\n"
                              "Half=\"open\n"
                              "Empty=\n"
                              "Eq=a=b\n"
                              "\n"
                              "[ udp_in_01 ]\n"
                              "Port=5000\n"
                              "port=6000\n"
                              "[GÉNÉRAL]\n"
                              "Nom=second\n"
                              "Extra=only here\n");
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"Général", "Nom", "Radio Été"},
        {"général", "NOM", "Radio Été"},
        {"Général", "Quoted", "  spaced  "},
        {"Général", "Single", "x"},
        {"Général", "Half", "\"open"},
        {"Général", "Empty", ""},
        {"Général", "Eq", "a=b"},
        {"UDP_In_01", "Port", "5000"},
        {"Général", "Extra", "only here"},
        {"Général", "Missing", "dflt"},
        {"Nowhere", "Nom", "dflt"},
        {" Général ", " Nom ", "Radio Été"},
        {"", "Nom", "dflt"},
        {"Général", "", "dflt"},
    };
    for (const auto& c : cases) EXPECT_EQ(get(c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(IniFile, CutsToTheBufferAndDefaultsWhenTheFileIsMissing) {
    support::writeWindowsFile(
        host(), "[S]\nLong=" + std::string(300, 'x') + "\nAccents=" + std::string(10, 'e') + "éé\n");
    EXPECT_EQ(get("S", "Long"), std::string(254, 'x'));
    EXPECT_EQ(get("S", "Accents", 12), std::string(10, 'e') + "é");  // characters, not bytes
    EXPECT_EQ(ini::getString("C:\\Settings\\None.ini", "S", "Long", "dflt", 255), "dflt");
    EXPECT_EQ(ini::getString("Q:\\unmapped.ini", "S", "Long", "dflt", 255), "dflt");
    EXPECT_EQ(ini::getString("C:\\Settings\\None.ini", "S", "K", std::string(300, 'd'), 255),
              std::string(254, 'd'));
}

TEST_F(IniFile, DamagedFilesNeverCrashTheReader) {
    const std::string cases[] = {
        std::string("[S]\0\0K=1\0\r\n", 12),
        "[S]\r\nK=no final newline",
        "[S]\r" + std::string(1 << 20, 'k') + "=v\rK=2",
        "\xEF\xBB\xBF[S]\nK=bom",
        "[[[]]]\n=\n==\n[\n]\nK=x",
        std::string(100000, '['),
    };
    for (const std::string& bytes : cases) {
        writeRaw(bytes);
        (void)get("S", "K");
    }
    writeRaw("[S]\r\nK=no final newline");
    EXPECT_EQ(get("S", "K"), "no final newline");
    writeRaw("\xEF\xBB\xBF[S]\nK=bom");
    EXPECT_EQ(get("S", "K"), "bom");
    writeRaw("[S]\rA=1\rK=2");
    EXPECT_EQ(get("S", "K"), "2");
}

// A folder or a named pipe where the file should be reads as a missing file: no throw, no wait.
TEST_F(IniFile, FolderOrPipeInTheFilesPlaceReadsAsMissing) {
    fs::create_directories(host());
    EXPECT_EQ(get("S", "K"), "dflt");
    EXPECT_EQ(ini::writeString(file, "S", "K", "v"), ini::WriteStatus::AccessDenied);
    fs::remove(host());
    ASSERT_EQ(::mkfifo(host().c_str(), 0600), 0);
    EXPECT_EQ(get("S", "K"), "dflt");
    EXPECT_EQ(ini::writeString(file, "S", "K", "v"), ini::WriteStatus::AccessDenied);
}

TEST_F(IniFile, WriteKeepsEveryOtherByte) {
    const std::string before =
        "; comment kept\r\n[A]\r\nx = 1 \r\n  Key = old\r\n; tail comment\r\n\r\n[B]\ny=2\n";
    writeRaw(before);
    ASSERT_EQ(ini::writeString(file, "a", "KEY", "new"), ini::WriteStatus::Written);
    EXPECT_EQ(readBytes(host()),
              "; comment kept\r\n[A]\r\nx = 1 \r\n  Key=new\r\n; tail comment\r\n\r\n[B]\ny=2\n");

    ASSERT_EQ(ini::writeString(file, "A", "added", "v"), ini::WriteStatus::Written);
    ASSERT_EQ(ini::writeString(file, "C", "k", "été"), ini::WriteStatus::Written);
    EXPECT_EQ(readBytes(host()),
              "; comment kept\r\n[A]\r\nx = 1 \r\n  Key=new\r\n; tail comment\r\nadded=v\r\n\r\n"
              "[B]\ny=2\n[C]\r\nk=\xE9t\xE9\r\n");
    EXPECT_EQ(get("C", "k"), "été");
}

TEST_F(IniFile, WriteCreatesFileSectionAndKeyAndEndsTheLastLine) {
    ASSERT_EQ(ini::writeString(file, "S", "K", "1"), ini::WriteStatus::PathNotFound);
    fs::create_directories(host().parent_path());
    ASSERT_EQ(ini::writeString(file, "S", "K", "1"), ini::WriteStatus::Written);
    EXPECT_EQ(readBytes(host()), "[S]\r\nK=1\r\n");
    writeRaw("[S]\r\nA=1");
    ASSERT_EQ(ini::writeString(file, "S", "B", "2"), ini::WriteStatus::Written);
    EXPECT_EQ(readBytes(host()), "[S]\r\nA=1\r\nB=2\r\n");
    writeRaw("[S]\r\nA=1");
    ASSERT_EQ(ini::writeString(file, "S", "A", "3"), ini::WriteStatus::Written);
    EXPECT_EQ(readBytes(host()), "[S]\r\nA=3\r\n");
}

TEST_F(IniFile, WriteFindsFoldersWithoutRegardToCase) {
    fs::create_directories(drive.root() / "settings");
    ASSERT_EQ(ini::writeString("C:\\SETTINGS\\test.ini", "S", "K", "1"), ini::WriteStatus::Written);
    EXPECT_EQ(ini::getString("c:\\Settings\\TEST.INI", "s", "k", "", 255), "1");
}

TEST_F(IniFile, RefusesLineBreaksAndNamesThatWouldCorruptTheFile) {
    writeRaw("[S]\r\nK=1\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
        ini::WriteStatus status;
    } cases[] = {
        {"S", "K", "a\r\nb=c", ini::WriteStatus::InvalidValue},
        {"S", "K", "a\nb", ini::WriteStatus::InvalidValue},
        {"S\r\n[T]", "K", "v", ini::WriteStatus::InvalidName},
        {"S]", "K", "v", ini::WriteStatus::InvalidName},
        {"S", "K=1", "v", ini::WriteStatus::InvalidName},
        {"S", "[T]", "v", ini::WriteStatus::InvalidName},
        {"  ", "K", "v", ini::WriteStatus::InvalidName},
        {"S", "  ", "v", ini::WriteStatus::InvalidName},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini::writeString(file, c.section, c.key, c.value), c.status) << c.section << "/" << c.key;
    EXPECT_EQ(readBytes(host()), "[S]\r\nK=1\r\n");
}

TEST_F(IniFile, ReadOnlyFileIsRefusedAndKeepsItsPermissionsOtherwise) {
    writeRaw("[S]\r\nK=1\r\n");
    fs::permissions(host(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(ini::writeString(file, "S", "K", "2"), ini::WriteStatus::AccessDenied);
    EXPECT_EQ(get("S", "K"), "1");
    fs::permissions(host(), fs::perms::owner_write | fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(ini::writeString(file, "S", "K", "2"), ini::WriteStatus::Written);
    EXPECT_EQ(fs::status(host()).permissions(),
              fs::perms::owner_write | fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(fs::directory_iterator(host().parent_path())->path(), host());  // no temporary left
}

// Where the folder takes no temporary file a writable file is written in place; elsewhere the
// file is still replaced whole.
TEST_F(IniFile, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    writeRaw("; gardé\r\n[S]\r\nK=1\r\nLong=" + std::string(200, 'x') + "\r\n");
    const ino_t before = inodeOf(host());
    ASSERT_EQ(ini::writeString(file, "S", "K", "2"), ini::WriteStatus::Written);
    EXPECT_NE(inodeOf(host()), before);  // replaced: a crash never leaves half a file

    const fs::perms folder = fs::status(host().parent_path()).permissions();
    fs::permissions(host().parent_path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const ino_t inPlace = inodeOf(host());
    EXPECT_EQ(ini::writeString(file, "S", "Long", "short"), ini::WriteStatus::Written);
    EXPECT_EQ(ini::writeString(file, "S", "New", "3"), ini::WriteStatus::Written);
    EXPECT_EQ(inodeOf(host()), inPlace);
    EXPECT_EQ(readBytes(host()), "; gardé\r\n[S]\r\nK=2\r\nLong=short\r\nNew=3\r\n");
    EXPECT_EQ(ini::writeString("C:\\Settings\\Other.ini", "S", "K", "1"), ini::WriteStatus::AccessDenied);
    fs::permissions(host(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(ini::writeString(file, "S", "K", "4"), ini::WriteStatus::AccessDenied);
    EXPECT_EQ(get("S", "K"), "2");
    fs::permissions(host().parent_path(), folder);
    EXPECT_EQ(std::distance(fs::directory_iterator(host().parent_path()), fs::directory_iterator()), 1);
}

// As Windows' profile functions do, a name without a folder is a file of the Windows folder,
// never one of the working folder.
TEST_F(IniFile, ABareNameIsAFileOfTheWindowsFolder) {
    const fs::path work = drive.root() / "work";
    fs::create_directories(work);
    fs::create_directories(drive.root() / "Windows");
    const fs::path was = fs::current_path();
    fs::current_path(work);
    const ini::WriteStatus status = ini::writeString("Relaytone.ini", "S", "K", "1");
    const std::string read = ini::getString("RELAYTONE.INI", "s", "k", "dflt", 255);
    fs::current_path(was);
    EXPECT_EQ(status, ini::WriteStatus::Written);
    EXPECT_EQ(read, "1");
    EXPECT_EQ(readBytes(drive.root() / "Windows" / "Relaytone.ini"), "[S]\r\nK=1\r\n");
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_EQ(ini::profilePath("Relaytone.ini"), "C:\\Windows\\Relaytone.ini");
    EXPECT_EQ(ini::profilePath("C:\\Cfg\\a.ini"), "C:\\Cfg\\a.ini");
    EXPECT_EQ(ini::profilePath("Cfg/a.ini"), "Cfg/a.ini");
}

// Two processes writing different keys of one file at once: every key arrives.
TEST_F(IniFile, ConcurrentWritersLoseNothing) {
    fs::create_directories(host().parent_path());
    std::vector<pid_t> children;
    for (int writer = 0; writer < 4; ++writer) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < 50; ++i)
                ok = ini::writeString(file, "S", "W" + std::to_string(writer) + "_" + std::to_string(i),
                                      std::to_string(i)) == ini::WriteStatus::Written &&
                     ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    for (int writer = 0; writer < 4; ++writer)
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(get("S", "W" + std::to_string(writer) + "_" + std::to_string(i)), std::to_string(i));
}
