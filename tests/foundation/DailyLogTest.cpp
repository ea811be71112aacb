// The daily log: line shape, buffers, the day's file, header, purge, reboot advice, incidents.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <regex>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/LogBuffers.h"
#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "tests/foundation/DailyLogFixture.h"
#include "tests/foundation/NeighbourFakes.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono;
using Lib_Public::TraceLog;
using namespace dailylogtest;

TEST_F(DailyLog, PrefixShowsStampColumnsAndTimeSinceTheLastFigure) {
    struct Step {
        int64_t advanceMs;
        int16_t c1, c2, c3;
        const char* prefix;
    };
    const Step steps[] = {
        {0, 1, 0, 12, "09:41:07:045 :1:0:C:    :"},    // first line: no figure yet
        {5, -1, -1, -1, "09:41:07:050 : : : :    :"},  // quick line: base unchanged
        {25, 3, -2, -2, "09:41:07:075 :Debug:  30:"},  // measured from the first line
        {12000, 12, 5, 35, "09:41:19:075 :12:5:Z:xxxx:"}, {20, 0, 0, 9, "09:41:19:095 :0:0:9:    :"},
        {1, 0, 0, 10, "09:41:19:096 :0:0:A:  21:"},       {9999, -5, 0, 11, "09:41:29:095 : :0:B:9999:"},
    };
    for (const Step& step : steps) {
        advance(step.advanceMs);
        TraceLog(step.c1, step.c2, step.c3, "text");
    }
    const auto lines = copyOf(logbuffers::earlyBuffer());
    ASSERT_EQ(lines.size(), std::size(steps));
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], std::string(steps[i].prefix) + "text") << i;
}

TEST_F(DailyLog, StarIsOneEmptyLineAndBlankTextsAreDropped) {
    for (const char* text : {"a", "*", "*", "   ", "", "*", "b", "*"}) TraceLog(-1, -1, -1, text);
    const auto lines = copyOf(logbuffers::earlyBuffer());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].ends_with(":a"));
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[2].ends_with(":b"));
    EXPECT_EQ(lines[3], "");
}

TEST_F(DailyLog, EarlyLinesReachTheFileInOrderOnceSettingsAndFolderAreKnown) {
    TraceLog(-1, -1, -1, "one");
    TraceLog(-1, -1, -1, "deux é");
    EXPECT_EQ(logbuffers::earlyBuffer().size(), 2u);
    EXPECT_FALSE(fs::exists(logFolder()));

    loadSettings();
    EXPECT_FALSE(fs::exists(logFolder() / "20240301.Log"));  // the window's load writes nothing
    TraceLog(-1, -1, -1, "three");
    TraceLog(-1, -1, -1, "four");
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());
    EXPECT_TRUE(logbuffers::fileBuffer().empty());
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"one", "deux é", "three", "four"}));

    const std::string bytes = support::readBytes(logFolder() / "20240301.Log");
    EXPECT_NE(bytes.find("deux \xE9\r\n"), std::string::npos);  // Windows-1252, CRLF
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));
    const auto lines = fileLines("20240301");
    EXPECT_EQ(lines.front(),
              "==:==:==:====:=:=:=:=========================================== |Sub: "
              "Lib_Public:TraceLog");
    EXPECT_EQ(countContaining(lines, "App.Version: "), 1u);
}

TEST_F(DailyLog, NothingIsWrittenAnywhereWhileTheLogFolderIsBlank) {
    PbBFrmSetupChargee = true;
    TraceLog(-1, -1, -1, "waiting", true);
    TraceLog(-1, -1, -1, "still waiting");
    auto logFiles = [](const fs::path& folder) {
        size_t n = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            n += entry.path().extension() == ".Log";
        return n;
    };
    EXPECT_EQ(logFiles(drive.root()), 0u);
    EXPECT_EQ(logFiles(fs::current_path()), 0u);
    EXPECT_EQ(logbuffers::fileBuffer().size(), 2u);

    loadSettings();
    TraceLog(-1, -1, -1, "now");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"waiting", "still waiting", "now"}));
}

TEST_F(DailyLog, LinesBufferedBeforeMidnightGoToTheNewDayAfterItsHeader) {
    clockAt({.year = 2024, .month = 3, .day = 1, .hour = 23, .minute = 59, .second = 59, .millisecond = 990});
    loadSettings();
    TraceLog(-1, -1, -1, "before");
    TraceLog(-1, -1, -1, "late", false, -1, nullptr, false);
    advance(20);
    TraceLog(-1, -1, -1, "after");

    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"before"}));
    const auto lines = fileLines("20240302");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines.front().starts_with("==:==:==:====:=:=:=:==="));
    EXPECT_EQ(countContaining(lines, "App.Version: "), 1u);
    EXPECT_EQ(fileTexts("20240302"), (std::vector<std::string>{"late", "after"}));
}

TEST_F(DailyLog, AFlushNamesItsFileOrDatesItYesterdayAndEmptiesTheListItIsGiven) {
    loadSettings();
    TraceLog(-1, -1, -1, "today");  // today's header and line

    logbuffers::LogList copyPath;
    copyPath.add("for the mailing copy");
    std::string nameText = "Relaytone_Copie";
    Lib_Public::TraceLogForce(copyPath, nameText, false, "Test:Copie");
    EXPECT_TRUE(copyPath.empty());
    EXPECT_EQ(nameText, "Relaytone_Copie");
    // Today's header is written already: the named file gets the lines alone.
    EXPECT_EQ(fileLines("Relaytone_Copie"), (std::vector<std::string>{"for the mailing copy"}));

    logbuffers::LogList dayBefore;
    dayBefore.add("late for yesterday");
    nameText = "  ";
    Lib_Public::TraceLogForce(dayBefore, nameText, true, "Test:Hier");
    EXPECT_EQ(nameText, "20240229");
    const auto lineList = fileLines("20240229");
    ASSERT_FALSE(lineList.empty());
    EXPECT_EQ(countContaining(lineList, "|Sub: Test:Hier"), 1u);  // yesterday's own header
    EXPECT_EQ(lineList.back(), "late for yesterday");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"today"}));
}

TEST_F(DailyLog, FirstFlushOfTheDayPurgesDatedFilesOlderThan45Days) {
    clockAt({.year = 2024, .month = 3, .day = 1, .hour = 10});
    fs::create_directories(logFolder() / "20231201.Log");
    for (const char* name : {"20240101.Log", "20240115.log", "20240116.Log", "20240120.Log",
                             "Relaytone_20240101_01.Log", ".Log", "20231201.txt"})
        std::ofstream(logFolder() / name) << "x";
    loadSettings();
    TraceLog(-1, -1, -1, "x");

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(logFolder()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".Log", "20231201.Log", "20231201.txt", "20240116.Log",
                                              "20240120.Log", "20240301.Log", "Relaytone_20240101_01.Log"}));
}

// The operator's own files sort before the cut-off too: only a name that begins with a date goes.
TEST_F(DailyLog, ThePurgeDeletesOnlyFilesWhoseNameBeginsWithAnOldDate) {
    clockAt({.year = 2026, .month = 12, .day = 10, .hour = 10});  // cut-off 20261026
    const struct {
        const char* name;
        bool deleted;
    } files[] = {
        {"20261025.Log", true},  {"20261025 copie.Log", true},     {"19991231.log", true},
        {"20261026.Log", false}, {"2026-11 incidents.Log", false}, {"0-index.log", false},
        {"1.log", false},        {"2025 bilan.Log", false},        {"!urgent.log", false},
        {"Archive.Log", false},  {"2026102.Log", false},           {"2026102x.Log", false},
    };
    fs::create_directories(logFolder());
    for (const auto& file : files) std::ofstream(logFolder() / file.name) << "x";
    loadSettings();
    TraceLog(-1, -1, -1, "x");
    for (const auto& file : files) EXPECT_EQ(fs::exists(logFolder() / file.name), !file.deleted) << file.name;
}

TEST_F(DailyLog, FailedWriteKeepsTheLinesReportsOnceAndWritesThemLater) {
    loadSettings();
    fs::create_directories(logFolder() / "20240301.Log");  // the day's file cannot be opened
    TraceLog(-1, -1, -1, "one");
    TraceLog(-1, -1, -1, "two");
    EXPECT_EQ(windows.main.exports.size(), 1u);
    EXPECT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_GE(logbuffers::fileBuffer().size(), 2u);

    fs::remove(logFolder() / "20240301.Log");
    advance(1000);  // a file that refused a write is tried again a second later
    TraceLog(-1, -1, -1, "three");
    const auto texts = fileTexts("20240301");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "one");
    EXPECT_EQ(texts.back(), "three");
    EXPECT_EQ(countContaining(texts, "Err: 75 (Path/File access error"), 1u);
    EXPECT_EQ(countContaining(fileLines("20240301"), "App.Version: "), 1u);
    EXPECT_TRUE(logbuffers::fileBuffer().empty());
}

TEST_F(DailyLog, AFailureThrownDuringAWriteLeavesTheLogWorking) {
    // The day header's reboot advice mails the operator: that mail fails once with an exception.
    windows.settings.dayCountIndex = 5;
    windows.settings.checkEmail[4] = 1;
    windows.engine.duringMail = [this] {
        windows.engine.duringMail = nullptr;
        throw std::runtime_error("mailer gone");
    };
    clockAt({.year = 2024, .month = 3, .day = 1, .hour = 10}, 42ull * 86400000u);
    loadSettings();
    EXPECT_THROW(TraceLog(-1, -1, -1, "one"), std::runtime_error);

    TraceLog(-1, -1, -1, "two");
    const auto texts = fileTexts("20240301");
    EXPECT_EQ(countContaining(texts, "one"), 1u);
    EXPECT_EQ(countContaining(texts, "two"), 1u);
    EXPECT_EQ(countContaining(fileLines("20240301"), "App.Version: "), 1u);
    EXPECT_TRUE(logbuffers::fileBuffer().empty());
}

TEST_F(DailyLog, APipeInTheDayFilesPlaceNeitherHoldsTheProgramNorTakesTheLines) {
    loadSettings();
    const fs::path file = logFolder() / "20240301.Log";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    // On a thread of its own: a write that waits for a reader of the pipe is let go by one.
    auto writing = std::async(std::launch::async, [] { TraceLog(-1, -1, -1, "one"); });
    if (writing.wait_for(seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the write waited on the pipe";
        int reader = -1;
        while (writing.wait_for(milliseconds(100)) != std::future_status::ready)
            if (reader < 0) reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
        ::close(reader);
    }
    writing.get();
    TraceLog(-1, -1, -1, "two");
    EXPECT_EQ(windows.engine.mails.size(), 1u);  // the failed write, reported once

    fs::remove(file);
    advance(1000);
    TraceLog(-1, -1, -1, "three");
    const auto texts = fileTexts("20240301");
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "one");
    EXPECT_EQ(countContaining(texts, "Err: 75 (Path/File access error"), 1u);
    EXPECT_EQ(texts.back(), "three");
}

TEST_F(DailyLog, DeletedLogFolderIsMadeAgainWithoutLosingLines) {
    loadSettings();
    TraceLog(-1, -1, -1, "one");
    fs::remove_all(drive.root() / "AudioLog");
    advance(1000);  // the open file's name is checked again once a second
    TraceLog(-1, -1, -1, "two");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"two"}));
    EXPECT_TRUE(windows.engine.mails.empty());
}

TEST_F(DailyLog, ADayFileDeletedReplacedOrMovedMeanwhileGetsTheNextLines) {
    loadSettings();
    const fs::path file = logFolder() / "20240301.Log";
    TraceLog(-1, -1, -1, "one");
    fs::remove(file);
    advance(1000);  // the open file's name is checked again once a second
    TraceLog(-1, -1, -1, "two");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"two"}));

    const fs::path copy = logFolder() / "copy.tmp";
    fs::copy_file(file, copy);
    fs::rename(copy, file);  // as an editor saves it
    advance(1000);
    TraceLog(-1, -1, -1, "three");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"two", "three"}));

    fs::rename(file, logFolder() / "archive.Log");  // moved away, still a file elsewhere
    advance(1000);
    TraceLog(-1, -1, -1, "four");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"four"}));
    EXPECT_EQ(fileTexts("archive"), (std::vector<std::string>{"two", "three"}));
}

TEST_F(DailyLog, BufferThatCannotBeWrittenKeepsItsNewestLines) {
    const size_t max = logbuffers::LogList::kMaxLines;
    for (size_t i = 0; i < max + 5; ++i) TraceLog(-1, -1, -1, "line " + std::to_string(i), false);
    const auto lines = copyOf(logbuffers::earlyBuffer());
    EXPECT_EQ(lines.size(), max);
    EXPECT_EQ(countContaining(lines, "Warning: Log buffer full"), 1u);
    EXPECT_FALSE(lines.front().ends_with(":line 0"));
    EXPECT_TRUE(lines.back().ends_with(":line " + std::to_string(max + 4)));
}

TEST_F(DailyLog, DuringShutDownLinesStopOnceTheSettingsWindowIsGone) {
    Abandon = true;
    TraceLog(-1, -1, -1, "dropped");
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());
    loadSettings();
    TraceLog(-1, -1, -1, "kept");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"kept"}));
    Abandon = false;
}

TEST_F(DailyLog, FramedBlockRulesMatchTheTextAndOnlyTheTextIsAnIncident) {
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Erreur", "=", true);
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Alone", " = ", false);
    Lib_Public::TraceLogEncadre(-1, -1, -1, "", "=", true);
    std::vector<std::string> texts;
    for (const auto& line : logbuffers::earlyBuffer()) texts.push_back(line.substr(25));
    EXPECT_EQ(texts, (std::vector<std::string>{"======", "Erreur", "======", "Alone"}));
    ASSERT_EQ(windows.main.incidents[0].size(), 1u);
    EXPECT_TRUE(windows.main.incidents[0][0].ends_with(":Erreur"));
}

TEST_F(DailyLog, DisplayedLineGoesToItsIncidentsListAndRaisesTheAlert) {
    windows.main.incidents[1].assign(1001, "old");
    windows.main.incidents[2].assign(1000, "old");
    TraceLog(7, -1, -1, " :: : Alarm ", true);  // no list 7: list 0
    TraceLog(1, -1, -1, "Cleared first", true);
    TraceLog(2, -1, -1, "Kept", true);
    TraceLog(0, -1, -1, "Not shown");

    ASSERT_EQ(windows.main.incidents[0].size(), 1u);
    EXPECT_EQ(windows.main.incidents[0][0], "01/03 09:41:07:045 :7: : :    :Alarm");
    EXPECT_EQ(windows.main.incidents[1].size(), 1u);
    EXPECT_EQ(windows.main.incidents[2].size(), 1001u);
    EXPECT_EQ(windows.main.alerts, (std::vector<int16_t>{0, 1, 2}));
}

TEST_F(DailyLog, AlertMailFollowsItsCategoryCheckBox) {
    windows.settings.checkEmail[1] = 1;
    std::string mailText;
    TraceLog(-1, -1, -1, ": Disk almost full", false, 1, &mailText);
    TraceLog(-1, -1, -1, "Category not ticked", false, 0);
    TraceLog(-1, -1, -1, "Display wins", true, 1);
    ASSERT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_EQ(windows.engine.mails[0].to, "ops@example.test");
    EXPECT_EQ(windows.engine.mails[0].message, "Disk almost full");
    EXPECT_FALSE(windows.engine.mails[0].technical);
    EXPECT_EQ(mailText, "Disk almost full");
}

TEST_F(DailyLog, LogReaderOpensTheChosenFileAndACancelClosesQuietly) {
    loadSettings();
    const fs::path bin = drive.root() / "bin";
    const fs::path record = drive.root() / "opened";
    fs::create_directories(bin);
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\necho \"$@\" > '" << record.string() << "'\n";
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    ::setenv("PATH", bin.c_str(), 1);

    TraceLog(-1, -1, -1, "buffered", false, -1, nullptr, false);
    platform::dialogs::queueAnswers({"cancel", kLogFolder + "20240301.Log"});
    Lib_Public::LectureLog(kLogFolder, "");
    EXPECT_EQ(fileTexts("20240301"), (std::vector<std::string>{"buffered"}));
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_FALSE(fs::exists(record));

    Lib_Public::LectureLog(kLogFolder, "");
    for (int i = 0; i < 100 && !fs::exists(record); ++i) std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(linesOf(support::readBytes(record)),
              (std::vector<std::string>{(logFolder() / "20240301.Log").string()}));
    const auto asked = platform::dialogs::asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, platform::dialogs::Kind::OpenFile);
    EXPECT_EQ(asked[0].text, kLogFolder);
}

TEST_F(DailyLog, TheChosenLogOpensWithTheDesktopsOpenerElseAGraphicalEditorNeverATerminalOne) {
    loadSettings();
    TraceLog(-1, -1, -1, "buffered");
    const fs::path record = drive.root() / "opened";
    // VISUAL names a terminal editor, which would show nothing from a desktop program.
    ::setenv("VISUAL", "vi", 1);
    const struct {
        std::vector<std::string> programs;
        const char* opens;
    } cases[] = {
        {{"xdg-open", "gedit", "vi"}, "xdg-open"},
        {{"mousepad", "vi"}, "mousepad"},
        {{"vi"}, nullptr},
    };
    int caseNumber = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programs.front());
        fs::remove(record);
        const fs::path bin = drive.root() / ("bin" + std::to_string(++caseNumber));
        fs::create_directories(bin);
        for (const std::string& program : c.programs) {
            std::ofstream(bin / program)
                << "#!/bin/sh\necho " << program << " \"$@\" > '" << record.string() << "'\n";
            fs::permissions(bin / program, fs::perms::owner_all);
        }
        ::setenv("PATH", bin.c_str(), 1);
        logbuffers::fileBuffer().clear();
        platform::dialogs::queueAnswers({kLogFolder + "20240301.Log"});
        Lib_Public::LectureLog(kLogFolder, "");
        for (int i = 0; c.opens && i < 100 && !fs::exists(record); ++i)
            std::this_thread::sleep_for(milliseconds(50));
        if (c.opens) {
            EXPECT_EQ(linesOf(support::readBytes(record)),
                      (std::vector<std::string>{std::string(c.opens) + " " +
                                                (logFolder() / "20240301.Log").string()}));
        } else {
            std::this_thread::sleep_for(milliseconds(300));
            EXPECT_FALSE(fs::exists(record));
            EXPECT_EQ(countContaining(fileTexts("20240301"),
                                      "Err: 53 (File not found: xdg-open or a graphical text editor)"),
                      1u);
        }
    }
}

// Reboot advice: index 5 of the day-count list stands for 42 days.
struct RebootCase {
    int16_t index;
    int64_t uptimeDays;
    const char* advice;  // empty when none
    int mailCategory;
};

class RebootAdvice : public DailyLog, public ::testing::WithParamInterface<RebootCase> {};

TEST_P(RebootAdvice, IsGivenPastTheLimit) {
    const RebootCase c = GetParam();
    windows.settings.dayCountIndex = c.index;
    windows.settings.checkEmail[size_t(c.mailCategory)] = 1;  // only the advice's own box
    clockAt({.year = 2024, .month = 3, .day = 1, .hour = 10}, uint64_t(c.uptimeDays) * 86400000u + 3600000u);
    loadSettings();
    TraceLog(-1, -1, -1, "first");

    const auto texts = fileTexts("20240301");
    const std::string advice = c.advice;
    EXPECT_EQ(countContaining(texts, "Reboot needed"), advice.empty() ? 0u : 1u);
    if (advice.empty()) {
        EXPECT_TRUE(windows.engine.mails.empty());
        return;
    }
    EXPECT_EQ(countContaining(texts, advice), 1u);
    EXPECT_EQ(countContaining(windows.main.incidents[0], advice), 1u);
    ASSERT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_EQ(windows.engine.mails[0].message,
              "Reboot nécessaire du poste. Poste démarré depuis " + std::to_string(c.uptimeDays) + " jours");
}

TEST_F(DailyLog, EachRebootAdviceIsGivenOncePerRun) {
    windows.settings.dayCountIndex = 5;
    clockAt({.year = 2024, .month = 3, .day = 1, .hour = 10}, 42ull * 86400000u);
    loadSettings();
    for (int day = 0; day < 4; ++day) {  // uptime 42, 43, 44, 45: each header checks again
        TraceLog(-1, -1, -1, "day " + std::to_string(day));
        advance(24 * 3600 * 1000);
    }
    std::vector<std::string> texts;
    for (const char* day : {"20240301", "20240302", "20240303", "20240304"}) {
        const auto more = fileTexts(day);
        texts.insert(texts.end(), more.begin(), more.end());
    }
    EXPECT_EQ(countContaining(texts, "Reboot needed"), 2u);
    EXPECT_EQ(countContaining(texts, "for more than 42 days"), 1u);
    EXPECT_EQ(countContaining(texts, "started since 44 days"), 1u);
}

std::string rebootCaseName(const ::testing::TestParamInfo<RebootCase>& info) {
    return "Index" + std::to_string(info.param.index + 1) + "Days" + std::to_string(info.param.uptimeDays);
}

INSTANTIATE_TEST_SUITE_P(
    Uptime, RebootAdvice,
    ::testing::Values(RebootCase{5, 41, "", 4},
                      RebootCase{5, 42, "Reboot needed because computer started for more than 42 days", 4},
                      RebootCase{5, 43, "Reboot needed because computer started for more than 42 days", 4},
                      RebootCase{5, 44, "Reboot needed because computer started since 44 days", 5},
                      RebootCase{0, 400, "", 5}, RebootCase{-1, 400, "", 5}),
    rebootCaseName);

TEST(DailyLogHeader, UptimeTextShowsDaysAndHoursOnlyWhenThereAreAny) {
    struct Case {
        int64_t ms;
        const char* text;
    };
    const Case cases[] = {
        {0, "0 Min 0 Sec"},
        {59400, "0 Min 59 Sec"},
        {3600000, "1 H 0 Min 0 Sec"},
        {((2 * 24 + 3) * 60 + 15) * 60000 + 42000, "2 D 3 H 15 Min 42 Sec"},
        {24 * 3600000, "1 D 0 H 0 Min 0 Sec"},
    };
    for (const Case& c : cases) EXPECT_EQ(dailylog::UptimeText(c.ms), c.text) << c.ms;
    EXPECT_EQ(dailylog::UptimeDays(42LL * 86400000 + 86399999), 42);
}

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view(".^$|()[]{}*+?\\").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

// The seven memory lines, by label: the load a plain whole number, the others the figure in
// gigabytes with the user's separators, 128 TB of virtual space being "131<group>072<point>00 Go".
void expectMemoryLines(const std::vector<std::string>& lines, const std::string& group,
                       const std::string& point) {
    ASSERT_EQ(lines.size(), 7u);
    const std::string g = escaped(group), p = escaped(point);
    const std::string figure = R"(\d{1,3}()" + g + R"(\d{3})*)" + p + R"(\d\d Go)";
    const struct {
        const char* label;
        std::string shape;
    } expected[] = {
        {"Physical RAM:          ", figure},
        {"Available RAM:         ", figure},
        {"Loaded RAM:            ", R"(\d{1,3}%)"},
        {"Page RAM:              ", figure},
        {"Available Page RAM:    ", figure},
        {"Virtual RAM:           ", "131" + g + "072" + p + "00 Go"},
        {"Available Virtual RAM: ", figure},
    };
    for (size_t i = 0; i < 7; ++i) {
        ASSERT_TRUE(lines[i].starts_with(expected[i].label)) << lines[i];
        const std::string value = lines[i].substr(std::string(expected[i].label).size());
        EXPECT_TRUE(std::regex_match(value, std::regex(expected[i].shape))) << lines[i];
    }
}

}  // namespace

TEST_F(DailyLog, DayHeaderReportsTheMachineAndTheProgramInItsOrder) {
    support::DesktopLocale desktop("C.UTF-8");
    PbIIdRadio = 39;
    PbIIndexNomRadio = 1;
    PbSNomRadio[0] = "Groupe Radio";
    PbSNomRadio[1] = "Radio Test";
    PbSBtrEngineVersion = "SQLite 3";
    PbSDossierApplication = "C:\\App\\";
    fs::create_directories(drive.root() / "Windows" / "sysWOW64");
    std::ofstream(drive.root() / "Windows" / "sysWOW64" / "fpSPR80.OCX") << "not ours";
    loadSettings();
    TraceLog(-1, -1, -1, "x");

    auto lines = fileLines("20240301");
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_TRUE(lines.back().ends_with(":x"));
    lines.pop_back();
    const std::string mark = "==:==:==:====:=:=:=:";
    for (std::string& line : lines) {
        ASSERT_TRUE(line.starts_with(mark)) << line;
        line = line.substr(mark.size());
    }
    const std::string rule(43, '=');
    const std::vector<std::string> exact = {
        rule + " |Sub: Lib_Public:TraceLog",
        "System started since 1 Min 40 Sec",
        "App.Version: " + Lib_Systeme::VersionApplication(),
        "App.ExeName: C:\\App\\foundation_tests.exe",
        "App.ProductName: AL3_Relaytone",
        "Computer.Name: " + Lib_Systeme::ComputerName(),
        "ActiveTheme: WinClassic",
        "Operating System: " + Lib_Systeme::GetOSDisplayString(),
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8), exact);
    expectMemoryLines(std::vector<std::string>(lines.begin() + 8, lines.begin() + 15), ",", ".");
    EXPECT_EQ(lines[15], "Id Radio: 39: Radio Test");
    EXPECT_EQ(lines[16], "FPSpread.Version: ");  // found in sysWOW64, not one of ours
    EXPECT_TRUE(lines[17].starts_with("PropertyGrid.Version: "));
    EXPECT_TRUE(lines[18].starts_with("SkinFramework.Version: "));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 19, lines.end()),
              (std::vector<std::string>{"Engine.Version: SQLite 3", rule, "Groupe Radio", rule}));
}

TEST_F(DailyLog, DayHeaderTellsTheThemeAndLeavesOutAGridNowhereToBeFound) {
    Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_CURRENT_USER,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive",
                              "1");
    loadSettings();
    TraceLog(-1, -1, -1, "x");
    const auto lines = fileLines("20240301");
    EXPECT_EQ(countContaining(lines, "ActiveTheme: WinXP"), 1u);
    EXPECT_EQ(countContaining(lines, "FPSpread.Version"), 0u);
}

// Each day's header is written in the locale the desktop has then; the file keeps what
// Windows-1252 can hold (fr_FR's narrow no-break space comes as the no-break space).
TEST_F(DailyLog, DayHeaderMemoryFiguresTakeTheUsersSeparators) {
    const struct {
        const char* locale;
        const char* day;
        std::string group, point;
    } cases[] = {
        {"fr_FR.UTF-8", "20240301", "\u00A0", ","},
        {"de_DE.UTF-8", "20240302", ".", ","},
        {"C.UTF-8", "20240303", ",", "."},
    };
    loadSettings();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        support::DesktopLocale desktop(c.locale);
        TraceLog(-1, -1, -1, "x");
        const std::vector<std::string> lines = fileLines(c.day);
        const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("Physical RAM:") != std::string::npos;
        });
        ASSERT_LE(first + 7, lines.end());
        std::vector<std::string> memory;
        for (auto line = first; line != first + 7; ++line) memory.push_back(line->substr(20));
        expectMemoryLines(memory, c.group, c.point);
        advance(24 * 3600 * 1000);
    }
}

TEST(NeighbourDefaults, BeforeTheWindowsExistIncidentsWaitAndNothingIsSent) {
    platform::clock::setManual(platform::timeOf({.year = 2024, .month = 3, .day = 1}), 1000);
    TraceLog(5, -1, -1, "Early incident", true);
    neighbours::Frm_MainServices& main = neighbours::Frm_Main();
    ASSERT_EQ(main.ListeIncidents_ListCount(0), 1);
    EXPECT_TRUE(main.ListeIncidents_List(0, 0).ends_with(":Early incident"));
    ErrorInfo failure;
    EXPECT_FALSE(neighbours::Frm_MainBis().clSmtpMail_Send({}, {}, failure));
    EXPECT_NE(failure.number, 0);
    EXPECT_EQ(neighbours::FrmSetup().ComboNbJourPoste_ListIndex(), -1);
}
