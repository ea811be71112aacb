// Files and folders: existence, size, copy, delete, sizes as text, attributes, folder caches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <future>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogBuffers.h"
#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"
#include "tests/foundation/NeighbourFakes.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/TempSite.h"

namespace fs = std::filesystem;
using namespace Lib_Systeme;

namespace {

class FilesAndFolders : public support::SiteTest {
protected:
    fakes::Windows windows;

    void SetUp() override {
        platform::clock::setManual(platform::timeOf({.year = 2024, .month = 3, .day = 1}), 5000);
        ::unsetenv("AL3_DRIVES");
    }

    void write(const std::string& windowsPath, const std::string& content) {
        std::string relative = windowsPath.substr(3);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        const fs::path host = drive.root() / relative;
        fs::create_directories(host.parent_path());
        std::ofstream(host, std::ios::binary) << content;
    }
    fs::path host(const std::string& relative) const { return drive.root() / relative; }

    // Texts of the early buffer after their stamped prefix.
    static std::vector<std::string> logged() {
        std::vector<std::string> texts;
        for (const std::string& line : logbuffers::earlyBuffer()) texts.push_back(line.substr(25));
        return texts;
    }
};

}  // namespace

TEST_F(FilesAndFolders, ExistenceTriesTheNameWithoutABlankBeforeTheDotFirst) {
    write("C:\\Data\\Log.txt", "x");
    write("C:\\Data\\Only .txt", "x");
    write("C:\\Data\\Empty.txt", "");
    fs::create_directories(host("Data/Folder.txt"));
    struct Case {
        const char* name;
        bool mustNotBeEmpty;
        bool found;
    };
    const Case cases[] = {
        {"   ", false, false},
        {"  C:\\Data\\Log .txt  ", false, true},  // found as Log.txt
        {"C:\\Data\\Only .txt", false, true},     // found on the second try
        {"c:\\data\\LOG.TXT", false, true},
        {"C:\\Data\\Empty.txt", false, true},
        {"C:\\Data\\Empty.txt", true, false},
        {"C:\\Data\\Folder.txt", true, true},  // cannot be opened: size -1 is not empty
        {"C:\\Data\\*.txt", false, false},     // names are literal
        {"C:\\Data\\Log?.txt", false, false},
        {"Q:\\Data\\Log.txt", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(File_Exist(c.name, "Test:Exist", c.mustNotBeEmpty), c.found) << c.name;
}

TEST_F(FilesAndFolders, SizeIsSixtyFourBitAndMinusOneWhenTheFileCannotBeOpened) {
    write("C:\\Big.bin", "");
    fs::resize_file(host("Big.bin"), 5ull << 30);  // sparse
    EXPECT_EQ(TailleDuFichier("C:\\Big.bin"), int64_t(5ull << 30));
    EXPECT_EQ(TailleDuFichier("C:\\Missing.bin"), -1);
    fs::create_directories(host("Dir"));
    EXPECT_EQ(TailleDuFichier("C:\\Dir"), -1);
}

TEST_F(FilesAndFolders, APipeSocketOrDeviceUnderTheNameIsNoFileAndIsNeverOpened) {
    fs::create_directories(host("Data"));
    ASSERT_EQ(::mkfifo(host("Data/FRAD000.bt6").c_str(), 0600), 0);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = host("Data/Socket.log").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("/dev/null", host("Data/Device.log"));

    struct Case {
        const char* name;
        const char* kind;
    };
    const Case cases[] = {{"C:\\Data\\FRAD000.bt6", "pipe"},
                          {"C:\\Data\\Socket.log", "socket"},
                          {"C:\\Data\\Device.log", "device"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        logbuffers::earlyBuffer().clear();
        // On a thread of its own: a check that waits on the pipe is let go by a writer.
        auto checks = std::async(std::launch::async, [&] {
            return std::tuple{File_Exist(c.name, "Test:Special", true),
                              File_Exist(c.name, "Test:Special", false), TailleDuFichier(c.name)};
        });
        if (checks.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            ADD_FAILURE() << "a check waited on the name";
            while (checks.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
                ::close(::open(host("Data/FRAD000.bt6").c_str(), O_WRONLY | O_NONBLOCK));
        }
        const auto [nonEmpty, exists, size] = checks.get();
        EXPECT_FALSE(nonEmpty);
        EXPECT_FALSE(exists);
        EXPECT_EQ(size, -1);
        const std::string warning = "Warning: File_Exist: Not a file (" + std::string(c.kind) +
                                    "): " + c.name + " |Sub: Test:Special>Lib_Systeme:File_Exist";
        EXPECT_EQ(logged(), (std::vector<std::string>{warning, warning,
                                                      "Warning: TailleDuFichier: Not a file (" +
                                                          std::string(c.kind) + "), not opened: " + c.name}));
    }
    ::close(listening);
}

TEST_F(FilesAndFolders, OnlyASizeQuerySlowerThanOneSecondIsLogged) {
    write("C:\\Sons\\Jingle.wav", "RIFF");
    seams::slowNextSizeQuery(std::chrono::milliseconds(1000));
    EXPECT_EQ(TailleDuFichier("C:\\Sons\\Jingle.wav"), 4);
    EXPECT_TRUE(logged().empty());
    seams::slowNextSizeQuery(std::chrono::milliseconds(1500));
    EXPECT_EQ(TailleDuFichier("C:\\Sons\\Jingle.wav"), 4);
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"Function Lib_Systeme:TailleDuFichier Duration: 1500 ms (File: "
                                        "C:\\Sons\\Jingle.wav)"}));
}

TEST_F(FilesAndFolders, CopyMakesTheTargetFolderAndReplacesTheTargetWhole) {
    write("C:\\Src\\a.ini", "new content");
    write("C:\\Dst\\Old\\a.ini", "older and longer content");
    EXPECT_TRUE(File_Copy("C:\\Src\\a.ini", "C:\\Dst\\New\\Deeper\\a.ini"));
    EXPECT_TRUE(File_Copy("C:\\Src\\a.ini", "C:\\Dst\\Old\\a.ini"));
    for (const char* target : {"Dst/New/Deeper/a.ini", "Dst/Old/a.ini"}) {
        std::ifstream in(host(target));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new content") << target;
    }
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(host("Dst/Old"))) ++entries;
    EXPECT_EQ(entries, 1u);  // no temporary file left behind
    EXPECT_TRUE(logged().empty());
}

TEST_F(FilesAndFolders, FailedCopiesSayWhyAndWhereSpaceIsShort) {
    support::DesktopLocale desktop("C.UTF-8");  // the free-space figure is in the user's locale
    write("C:\\Src\\a.ini", "x");
    write("C:\\Src\\empty.ini", "");
    EXPECT_FALSE(File_Copy(" ", "C:\\x"));
    EXPECT_FALSE(File_Copy("C:\\Src\\none.ini", "C:\\x"));
    EXPECT_FALSE(File_Copy("C:\\Src\\empty.ini", "C:\\x"));
    EXPECT_FALSE(File_Copy("C:\\Src\\track.GPX", "C:\\x"));  // silent
    EXPECT_FALSE(File_Copy("C:\\Src\\a.ini", "D:\\x\\y"));
    EXPECT_FALSE(File_Copy("C:\\Src\\a.ini", "\\\\server\\share\\x"));
    EXPECT_FALSE(File_Copy("C:\\Src\\a.ini", "c:\\src\\A.INI"));
    auto lines = logged();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_TRUE(lines.back().starts_with("Free space for c:\\: ")) << lines.back();
    lines.pop_back();
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Warning: File_Copy: File name null",
                         "Warning: File_Copy: File not found: C:\\Src\\none.ini",
                         "Warning: File_Copy: File not found: C:\\Src\\empty.ini",
                         "File_Copy: Err: 53 |Folder not found. Source: C:\\Src\\a.ini  Target: D:\\x\\y",
                         "Free space for D:\\: 0.00 Octets",
                         "File_Copy: Err: 53 |Folder not found. Source: C:\\Src\\a.ini  Target: "
                         "\\\\server\\share\\x",
                         "File_Copy: Err: 113 |Fichiers source et cible identiques. Source: C:\\Src\\a.ini  "
                         "Target: c:\\src\\A.INI"}));
    EXPECT_EQ(windows.main.incidents[0].size(), 2u);  // folder not found is an incident
}

TEST_F(FilesAndFolders, HostErrorsBecomeTheShellCodesTheLogAndRestartExpect) {
    const std::pair<int, int32_t> cases[] = {
        {0, 0},        {ENOENT, 2},   {EACCES, 5},   {EPERM, 5},  {ENOMEM, 14},  {EBUSY, 32},
        {ENOTDIR, 53}, {ENOSPC, 112}, {EDQUOT, 112}, {EROFS, 19}, {EISDIR, 267}, {EIO, 31},
    };
    for (const auto& [error, code] : cases) EXPECT_EQ(ShellResultOfErrno(error), code) << error;
}

TEST_F(FilesAndFolders, DeleteTakesRegularFilesOnly) {
    write("C:\\Data\\old.log", "x");
    write("C:\\Data\\Tree\\keep.txt", "x");
    write("C:\\Data\\star\\a.txt", "x");
    EXPECT_TRUE(File_Delete("C:\\Data\\old.log", "Test:Clean"));
    EXPECT_FALSE(fs::exists(host("Data/old.log")));
    EXPECT_FALSE(File_Delete("C:\\Data\\old.log", "Test:Clean"));
    EXPECT_FALSE(File_Delete("C:\\Data\\Tree", "Test:Clean"));
    EXPECT_FALSE(File_Delete("C:\\Data\\star\\*", "Test:Clean"));
    EXPECT_FALSE(File_Delete("", "Test:Clean"));
    EXPECT_TRUE(fs::exists(host("Data/Tree/keep.txt")));
    EXPECT_TRUE(fs::exists(host("Data/star/a.txt")));
    const std::string chain = " |Sub: Test:Clean>Lib_Systeme:File_Delete";
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"File_Delete: Warning: 2 |File not found: C:\\Data\\old.log" + chain,
                                        "File_Delete: Err: 267 |C:\\Data\\Tree" + chain,
                                        "File_Delete: Warning: 2 |File not found: C:\\Data\\star\\*" + chain,
                                        "Warning: File_Delete: File name null" + chain}));
    EXPECT_EQ(windows.main.incidents[0].size(), 1u);
}

// Out of memory during a copy or a delete asks the main window for a restart, after its line.
TEST_F(FilesAndFolders, OutOfMemoryAsksForARestart) {
    write("C:\\Src\\a.ini", "x");
    seams::failNextFileOperation(ENOMEM);
    EXPECT_FALSE(File_Copy("C:\\Src\\a.ini", "C:\\Dst\\a.ini"));
    seams::failNextFileOperation(ENOMEM);
    EXPECT_FALSE(File_Delete("C:\\Src\\a.ini", "Test:Clean"));
    EXPECT_TRUE(fs::exists(host("Src/a.ini")));
    EXPECT_FALSE(fs::exists(host("Dst")));
    auto lines = logged();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[1].starts_with("Free space for C:\\: ")) << lines[1];
    lines.erase(lines.begin() + 1);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"File_Copy: Err: 14 |Out of memory. Source: C:\\Src\\a.ini  Target: "
                                        "C:\\Dst\\a.ini",
                                        "File_Delete: Err: 14 |Out of memory. File: C:\\Src\\a.ini |Sub: "
                                        "Test:Clean>Lib_Systeme:File_Delete"}));
    EXPECT_EQ(windows.main.incidents[0].size(), 2u);
    EXPECT_EQ(windows.main.restarts,
              (std::vector<std::string>{"Lib_Systeme:File_Copy", "Lib_Systeme:File_Delete"}));
    EXPECT_TRUE(File_Delete("C:\\Src\\a.ini", "Test:Clean"));  // the failure was for one call
}

TEST(LibSize, CountsIn1024BasedFrenchUnits) {
    support::DesktopLocale desktop("C.UTF-8");
    const std::pair<double, const char*> cases[] = {
        {0, "0.00 Octets"},
        {1023, "1,023.00 Octets"},
        {1536, "1.50 Ko"},
        {1.5 * 1024 * 1024 * 1024, "1.50 Go"},
        {1.25 * std::pow(1024.0, 5), "1.25 Po"},
        {1000.0 * 1024 * 1024, "1,000.00 Mo"},
        {std::pow(1024.0, 8), "1.00 Yo"},
        {std::pow(1024.0, 9), ""},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(LibSize(bytes), text) << bytes;
}

// The user's separators, ASCII digits, and only characters the Windows-1252 log can hold:
// fr_FR groups with a narrow no-break space, which the log gets as the no-break space.
TEST(LibSize, FiguresFollowTheUsersLocale) {
    const std::string nbsp = "\u00A0";
    const struct {
        const char* locale;
        std::string grouped, negative, nearlyZero, bytes, go;
    } cases[] = {
        {"C.UTF-8", "1,234,567.89", "-0.50", "0.00", "1,023.00 Octets", "23.54 Go"},
        {"fr_FR.UTF-8", "1" + nbsp + "234" + nbsp + "567,89", "-0,50", "0,00", "1" + nbsp + "023,00 Octets",
         "23,54 Go"},
        {"de_DE.UTF-8", "1.234.567,89", "-0,50", "0,00", "1.023,00 Octets", "23,54 Go"},
    };
    for (const auto& c : cases) {
        support::DesktopLocale desktop(c.locale);
        EXPECT_EQ(FormatGrouped2(1234567.891), c.grouped) << c.locale;
        EXPECT_EQ(FormatGrouped2(-0.5), c.negative) << c.locale;
        EXPECT_EQ(FormatGrouped2(-0.001), c.nearlyZero) << c.locale;
        EXPECT_EQ(LibSize(1023), c.bytes) << c.locale;
        EXPECT_EQ(LibSize(23.54 * 1024 * 1024 * 1024), c.go) << c.locale;
    }
    support::DesktopLocale desktop("C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));  // digits and separators of its own
    EXPECT_EQ(FormatGrouped2(1234.5), "1,234.50");
}

TEST_F(FilesAndFolders, FreeSpaceOfAMappedDriveOnly) {
    EXPECT_GT(GetDiskFreeBytes("C:\\"), 0.0);
    EXPECT_EQ(GetDiskFreeBytes("Q:\\"), 0.0);
    EXPECT_EQ(GetDiskFreeBytes("  "), 0.0);
}

TEST_F(FilesAndFolders, RemovingTheReadOnlyFlagKeepsTheOtherBits) {
    write("C:\\Settings.ini", "x");
    write("C:\\Empty.ini", "");
    fs::permissions(host("Settings.ini"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(host("Empty.ini"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(FileAttributes("C:\\Settings.ini"), 33);
    File_RemoveFlag("C:\\Settings.ini", 1);
    EXPECT_EQ(FileAttributes("C:\\Settings.ini"), 32);
    File_RemoveFlag("C:\\Settings.ini", 2);
    EXPECT_EQ(FileAttributes("C:\\Settings.ini"), 32);
    File_RemoveFlag("C:\\Empty.ini", 1);
    EXPECT_EQ(FileAttributes("C:\\Empty.ini"), 33);
    EXPECT_EQ(logged(),
              (std::vector<std::string>{"Warning: File_RemoveFlag: File not found: C:\\Empty.ini"}));
}

TEST_F(FilesAndFolders, FolderCachesAnswerForWholePathsAndLookAgainOnDisk) {
    EXPECT_TRUE(FolderFound("C:\\AL_Data\\Base1\\"));
    EXPECT_TRUE(fs::is_directory(host("AL_Data/Base1")));
    // A shorter name is no hit for a longer cached one: it is made on disk.
    EXPECT_TRUE(FolderFound("C:\\AL_Data\\Base"));
    EXPECT_TRUE(fs::is_directory(host("AL_Data/Base")));
    EXPECT_TRUE(FolderFound("c:\\al_data\\base1"));
    // Deleted while the program runs: made again.
    fs::remove_all(host("AL_Data"));
    EXPECT_TRUE(FolderFound("C:\\AL_Data\\Base1\\\\"));
    EXPECT_TRUE(fs::is_directory(host("AL_Data/Base1")));
    fs::remove_all(host("AL_Data"));
    VerificationEtCreationRepertoire("C:\\AL_Data\\Base1", true);
    EXPECT_TRUE(fs::is_directory(host("AL_Data/Base1")));
    EXPECT_TRUE(logged().empty());
}

TEST_F(FilesAndFolders, FolderThatCannotBeMadeIsReportedOnceAndNoDriveRootIsMade) {
    EXPECT_FALSE(FolderFound("Q:\\Audio\\Jingles\\"));
    VerificationEtCreationRepertoire("Q:\\Audio\\Jingles\\", true);
    EXPECT_FALSE(FolderFound("Q:\\Audio\\Jingles\\"));
    VerificationEtCreationRepertoire("\\\\srv\\share\\a\\b\\", true);
    VerificationEtCreationRepertoire("\\\\srv\\admin$\\a\\", false);
    EXPECT_EQ(logged(), (std::vector<std::string>{"Folder 'Q:\\Audio\\' not found",
                                                  "Folder '\\\\srv\\share\\' not found"}));
}

TEST_F(FilesAndFolders, FolderPickerStartsInTheFoldersOfThePathAndMakesTheChoice) {
    PbSDossierApplication = "C:\\App\\";
    platform::dialogs::queueAnswers({"cancel", "C:\\Chosen\\New", "cancel"});
    EXPECT_EQ(FolderSelect("D:\\AL_Data\\FRAD000.bt6"), "*");
    EXPECT_EQ(FolderSelect("C:\\Start\\", "Dossier des données"), "C:\\Chosen\\New\\");
    EXPECT_TRUE(fs::is_directory(host("Chosen/New")));
    EXPECT_EQ(FolderSelect(""), "*");
    const auto asked = platform::dialogs::asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, "D:\\AL_Data");
    EXPECT_EQ(asked[0].title, "Sélectionnez un dossier: ");
    EXPECT_EQ(asked[1].text, "C:\\Start");
    EXPECT_EQ(asked[1].title, "Dossier des données");
    EXPECT_EQ(asked[2].text, "C:\\App");
}

TEST_F(FilesAndFolders, UncPathOfALocalDiskShareBecomesItsLocalFolder) {
    PbTInfoVersionOS.platformId = 2;
    platform::system::setShares({{"Print", 1, ""}, {"Audio", 0, "C:\\Audio\\"}, {"Root", 0, "C:\\"}});
    fs::create_directories(host("Audio/Jingles"));
    EXPECT_EQ(ChangeUNCFolder2LocalFolder("\\\\PC1\\Audio\\Jingles\\", "PC1"), "C:\\Audio\\Jingles\\");
    EXPECT_EQ(ChangeUNCFolder2LocalFolder("\\\\pc1\\root\\Pub\\", "PC1"), "C:\\Pub\\");
    EXPECT_EQ(ChangeUNCFolder2LocalFolder("\\\\PC2\\Audio\\Jingles\\", "PC1"), "\\\\PC2\\Audio\\Jingles\\");
    const auto lines = logged();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "01: UNC: Path change from: \\\\PC1\\Audio\\Jingles\\ to: C:\\Audio\\Jingles\\"),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "02: UNC: Local Path found: C:\\Pub\\"), 1);

    platform::system::setShares({});
    logbuffers::earlyBuffer().clear();
    EXPECT_EQ(ChangeUNCFolder2LocalFolder("\\\\PC1\\Audio\\", "PC1"), "\\\\PC1\\Audio\\");
    EXPECT_TRUE(logged().empty());
}

TEST_F(FilesAndFolders, ConverterIsFoundInItsNewerOrOlderForm) {
    bool newer = true;
    std::string path;
    EXPECT_FALSE(Lib_Convert::ConvertSonDetermineVersion(newer, path));
    EXPECT_TRUE(newer);
    EXPECT_EQ(path, "C:\\Program Files\\Illustrate\\dBpowerAMP\\MusicConverter.exe");

    write("C:\\Program Files\\Illustrate\\dBpowerAMP\\MusicConverter.exe", "");  // empty counts
    EXPECT_TRUE(Lib_Convert::ConvertSonDetermineVersion(newer, path));
    EXPECT_FALSE(newer);
    EXPECT_EQ(path, "C:\\Program Files\\Illustrate\\dBpowerAMP\\MusicConverter.exe");

    write("C:\\Tools\\Converter\\CoreConverter.exe", "x");
    Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CoreConverter.exe",
                              "Path", "C:\\Tools\\Converter");
    EXPECT_TRUE(Lib_Convert::ConvertSonDetermineVersion(newer, path));
    EXPECT_TRUE(newer);
    EXPECT_EQ(path, "C:\\Tools\\Converter\\CoreConverter.exe");
}
