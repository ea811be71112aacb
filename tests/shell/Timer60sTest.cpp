// The minute job: nightly relaunch through a real launcher program, the UECP mark, the drain
// watchdog on a real player message file, and the tick before the main window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <system_error>

#include <QCoreApplication>
#include <QTimer>

#include "btrieve/OpenClose.h"
#include "btrieve/Seams.h"
#include "engine/PeriodicJobs.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "platform/btrcall/Btrcall.h"
#include "settings/FrmSetupDivers.h"
#include "shell/ShellState.h"
#include "tests/shell/PeriodicFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/WindowsFiles.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

using periodictest::PeriodicTest;
using namespace std::chrono_literals;

const std::string kQuestion = "Voulez-vous quitter le programme ?";
const std::string kLauncher = "C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe";

class NightlyRelaunch : public PeriodicTest {
protected:
    void SetUp() override {
        PeriodicTest::SetUp();
        FrmSetupDivers::get().CheckLaunch->SetValue(platform::forms::vbChecked);
        setClock("2026-03-10 04:01:30");
        PbDProchaineRelance = at("2026-03-10 04:02:00");
    }
    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (const auto& box : platform::dialogs::asked()) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(NightlyRelaunch, StartsTheLauncherOnceTheMomentHasPassedAndMovesItOnADay) {
    installLauncher();
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-10 04:02:00"));
    EXPECT_TRUE(questions().empty());

    setClock("2026-03-10 04:02:00");  // the moment itself is not later than the moment
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-10 04:02:00"));
    EXPECT_TRUE(questions().empty());

    advance(30s);  // 04:02:30
    platform::dialogs::queueAnswers({"no"});
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-11 04:02:00"));
    const auto starts = launcherStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(starts[0].empty());  // no switch
    // The block framed by rules of stars as long as its text.
    const std::string chunk = "Close Application ? It's Time (11/03/2026 04:02:00)";
    const auto lineList = logLines("");
    const auto lineText = std::find_if(lineList.begin(), lineList.end(), [&](const std::string& l) {
        return l.find(chunk) != std::string::npos;
    });
    ASSERT_NE(lineText, lineList.end());
    ASSERT_TRUE(lineText != lineList.begin() && lineText + 1 != lineList.end());
    const std::string rule(chunk.size(), '*');
    const auto isTheRule = [&](const std::string& l) {
        return l.size() > rule.size() && l.compare(l.size() - rule.size(), rule.size(), rule) == 0 &&
               l[l.size() - rule.size() - 1] != '*';
    };
    EXPECT_TRUE(isTheRule(*(lineText - 1))) << *(lineText - 1);
    EXPECT_TRUE(isTheRule(*(lineText + 1))) << *(lineText + 1);
    EXPECT_EQ(questions(), std::vector<std::string>{kQuestion});
    // Answered no: the program runs on until the launcher ends it.
    EXPECT_FALSE(PbBQuitter);
    EXPECT_EQ(processEnds, 0);
    EXPECT_TRUE(win.Loaded());

    advance(60s);
    engine().Timer60s_Timer();
    EXPECT_EQ(launcherStarts(2).size(), 1u);
    EXPECT_EQ(questions().size(), 1u);
}

TEST_F(NightlyRelaunch, AQuitAnsweredYesUnloadsTheWindowsAndEndsTheProcess) {
    installLauncher();
    setClock("2026-03-10 04:02:01");
    // The unload waits half a second on the tick, which a manual clock only moves when told.
    QTimer clockSource;
    QObject::connect(&clockSource, &QTimer::timeout, [] { platform::clock::advance(50ms); });
    clockSource.start(5);
    platform::dialogs::queueAnswers({"yes"});
    engine().Timer60s_Timer();
    EXPECT_EQ(launcherStarts(1).size(), 1u);
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(win.Loaded());
    EXPECT_FALSE(Frm_MainBis::exists());
    EXPECT_EQ(processEnds, 1);
}

TEST_F(NightlyRelaunch, NothingHappensWhileTheOptionIsOffOrTheMainWindowIsNotShown) {
    installLauncher();
    setClock("2026-03-10 04:02:30");
    FrmSetupDivers::get().CheckLaunch->SetValue(platform::forms::vbUnchecked);
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-10 04:02:00"));

    FrmSetupDivers::get().CheckLaunch->SetValue(platform::forms::vbChecked);
    PbBFeuilleChargee = false;
    clearLog();
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-10 04:02:00"));
    EXPECT_EQ(logCount("Timer60s_Timer"), 2);
    EXPECT_EQ(logCount("Timer60s_Timer: Start"), 1);
    EXPECT_EQ(logCount("Timer60s_Timer: End"), 1);

    EXPECT_TRUE(launcherStarts(1).empty());
    EXPECT_TRUE(questions().empty());
}

TEST_F(NightlyRelaunch, AMissingOrEmptyLauncherIsLoggedAndTriedAgainADayLater) {
    for (const bool emptyValue : {false, true}) {
        SCOPED_TRACE(emptyValue ? "empty file" : "no file");
        std::filesystem::create_directories(launcherHost().parent_path());
        if (emptyValue) std::ofstream(launcherHost()).flush();
        setClock("2026-03-10 04:02:30");
        PbDProchaineRelance = at("2026-03-10 04:02:00");
        clearLog();
        engine().Timer60s_Timer();
        EXPECT_EQ(logCount("Err: Application not found: " + kLauncher), 1);
        EXPECT_EQ(PbDProchaineRelance, at("2026-03-11 04:02:00"));
        EXPECT_EQ(logCount("It's Time"), 0);

        advance(60s);
        engine().Timer60s_Timer();
        EXPECT_EQ(logCount("Err: Application not found: "), 1);
        setClock("2026-03-11 04:02:30");
        engine().Timer60s_Timer();
        EXPECT_EQ(logCount("Err: Application not found: "), 2);
        EXPECT_TRUE(questions().empty());
    }
}

TEST_F(NightlyRelaunch, AClockDaysAheadRelaunchesOnceAndAimsAtTheNextNight) {
    installLauncher();
    setClock("2026-03-13 09:00:00");
    platform::dialogs::queueAnswers({"no", "no"});
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-14 04:02:00"));
    advance(60s);
    engine().Timer60s_Timer();
    EXPECT_EQ(launcherStarts(2).size(), 1u);
    EXPECT_EQ(questions().size(), 1u);
}

TEST_F(NightlyRelaunch, ALauncherTheSystemRefusesToStartLeavesTheProgramRunning) {
    std::filesystem::create_directories(launcherHost().parent_path());
    std::ofstream(launcherHost()) << "not a program";
    std::filesystem::permissions(launcherHost(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    setClock("2026-03-10 04:02:30");
    platform::dialogs::queueAnswers({"ok", "ok", "ok"});
    engine().Timer60s_Timer();
    EXPECT_EQ(PbDProchaineRelance, at("2026-03-11 04:02:00"));
    EXPECT_EQ(logCount("It's Time"), 0);
    for (const auto& text : questions()) EXPECT_NE(text, kQuestion);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(win.Loaded());
    EXPECT_EQ(processEnds, 0);
}

TEST_F(PeriodicTest, TheEngineTimerRunsTheMinuteJob) {
    ASSERT_TRUE(engine().Timer60s.Enabled());
    ASSERT_EQ(engine().Timer60s.Interval(), 60000);
    engine().Timer60s.setInterval(20);  // a minute is too long to wait for here
    EXPECT_TRUE(support::eventually(
        [&] {
            QCoreApplication::processEvents();
            return logCount("Timer60s_Timer: End") > 0;
        },
        std::chrono::seconds(5)));
}

TEST_F(PeriodicTest, TheEndAfterTheNightlyQuitWritesTheLinesStillWaitingAndExitsWithZero) {
    PbSDossierLog = "C:\\Logs\\";
    logbuffers::fileBuffer().add("line still waiting");
    engine::seams::setEndProcess({});
    EXPECT_EXIT(engine::seams::endProcess(), ::testing::ExitedWithCode(0), "");
    const std::string jour = support::readWindowsFile(drive.host("C:\\Logs\\20260310.Log"));
    EXPECT_NE(jour.find("line still waiting"), std::string::npos) << jour;
}

TEST_F(PeriodicTest, TheUecpMarkMovesOnlyWhenOverTenMinutesOldAndItsAlertIsTicked) {
    struct Case {
        int ageSeconds;
        int ticked;
        bool moves;
        std::string shown;  // the mark as the line writes it
    };
    for (const Case& c :
         {Case{601, 1, true, "10/03/2026 09:49:59"}, Case{600, 1, false, "10/03/2026 09:50:00"},
          Case{601, 0, false, "10/03/2026 09:49:59"}, Case{4000, 2, false, "10/03/2026 08:53:20"},
          Case{36000, 1, true, "10/03/2026"}}) {  // at midnight, the date alone
        SCOPED_TRACE(std::to_string(c.ageSeconds) + "s, box " + std::to_string(c.ticked));
        FrmSetupDivers::get().CheckEmail[2]->SetValue(c.ticked);
        setClock("2026-03-10 10:00:00");
        PbDTimingUECP = at("2026-03-10 10:00:00") - std::chrono::seconds(c.ageSeconds);
        const auto avant = PbDTimingUECP;
        clearLog();
        engine().Timer60s_Timer();
        EXPECT_EQ(PbDTimingUECP, c.moves ? at("2026-03-10 10:02:00") : avant);
        const auto lineList = logLines("Timer60s_Timer: Timing UECP: ");
        ASSERT_EQ(lineList.size(), 1u);
        EXPECT_EQ(lineList[0].substr(lineList[0].find("UECP: ") + 6), c.shown);
    }
}

// Station 1's player message file, created and opened as the start-up leaves it, holding one
// message; the last drain started five minutes before the clock.
class Watchdog : public PeriodicTest {
protected:
    void SetUp() override {
        PeriodicTest::SetUp();
        const std::string data = "C:\\AL_Data\\";
        std::filesystem::create_directories(drive.host(data));
        std::string failureText;
        ASSERT_EQ(automation::createBaseFiles(data, 1, {55}, failureText), 0) << failureText;
        PbSDossierDataBase[0] = data;
        PbTBases[0].Dossier_Data = data;
        PbINbStations = 1;
        Lib_Data_BTrieve::FichierPervasiveOuvrir(0, 1, 1, 55, 0);
        automation::MessageWriter writer;
        ASSERT_EQ(writer.open(data, 1), 0);
        ASSERT_EQ(writer.insert(automation::sequenceKey(1), "EVT", "<CurrLib:Un>"), 0);
        PbBFRADx55Ouvert = true;
        PbBCheckFRADx55EnCours = false;
        PbDCheckFRADx55 = at("2026-03-10 09:55:00");
    }
    void TearDown() override {
        Lib_Data_BTrieve::seams::setEngine({});
        Lib_Data_BTrieve::FichierPervasiveFermer(0, 1, 1, 55);
        PeriodicTest::TearDown();
    }
    // Index of the first log line holding the text, -1 when none does.
    int position(const std::string& textValue) const {
        const auto lineList = logLines("");
        for (size_t i = 0; i < lineList.size(); ++i)
            if (lineList[i].find(textValue) != std::string::npos) return int(i);
        return -1;
    }
};

TEST_F(Watchdog, TheDrainRunsWhenOverFiveMinutesHavePassedSinceTheLastOneWithTheIndicatorLit) {
    std::vector<bool> switchedOn;
    Lib_Data_BTrieve::seams::setEngine([&](uint16_t op, char* pos, void* buf, uint32_t* len, char* key,
                                           uint16_t keyLen, int16_t keyNum) -> int16_t {
        switchedOn.push_back(win.ShapeActivite->isVisible());
        return platform::btrcall::BTRCALL(op, pos, buf, len, key, keyLen, keyNum);
    });

    engine().Timer60s_Timer();  // exactly 300 seconds
    EXPECT_EQ(logCount("FRADx55"), 0);

    advance(1s);
    PbBFRADx55Ouvert = false;  // the start-up could not open the file: nothing to watch
    engine().Timer60s_Timer();
    EXPECT_EQ(logCount("FRADx55"), 0);

    PbBFRADx55Ouvert = true;
    engine().Timer60s_Timer();
    EXPECT_EQ(logCount("Warning: FRADx55: Not checked since: 10/03/2026 09:55:00"), 1);
    EXPECT_LT(position("Timer60s_Timer: Check FRADx55: Start"),
              position("UDP: Data FRADx55 read: <CurrLib:Un>"));
    EXPECT_LT(position("UDP: Data FRADx55 read: <CurrLib:Un>"),
              position("Timer60s_Timer: Check FRADx55: End"));
    EXPECT_EQ(PbDCheckFRADx55, at("2026-03-10 10:00:01"));
    ASSERT_FALSE(switchedOn.empty());
    EXPECT_EQ(std::count(switchedOn.begin(), switchedOn.end(), false), 0);  // lit while the file is read
    EXPECT_FALSE(win.ShapeActivite->isVisible());
}

TEST_F(Watchdog, AFailedDrainIsReportedUnderTheDrainAndTheTickGoesOnToItsEnd) {
    struct Case {
        std::function<void()> failureText;
        std::string lineText;
    };
    const std::vector<Case> cases = {
        {[] { throw std::out_of_range("position"); }, "Err: 5 (position)"},
        {[] {
             throw std::filesystem::filesystem_error("read", "/data/FRADA55.bt6",
                                                     std::make_error_code(std::errc::io_error));
         },
         "/data/FRADA55.bt6"},
        {[] { throw std::runtime_error("engine gone"); }, "Err: 5 (engine gone)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lineText);
        Lib_Data_BTrieve::seams::setEngine(
            [&](uint16_t, char*, void*, uint32_t*, char*, uint16_t, int16_t) -> int16_t {
                c.failureText();
                return 0;
            });
        advance(10min);
        clearLog();
        engine().Timer60s_Timer();
        EXPECT_EQ(logCount(c.lineText), 1);
        EXPECT_GE(logCount("Frm_MainBis:UDPDataArrival_10_Check_FRADx55"), 1);
        EXPECT_EQ(logCount("Frm_MainBis:Timer60s_Timer:3"), 0);  // the drain's own trap took it
        EXPECT_LT(position(c.lineText), position("Timer60s_Timer: Check FRADx55: End"));
        EXPECT_LT(position("Timer60s_Timer: Check FRADx55: End"), position("Timer60s_Timer: End"));
        EXPECT_FALSE(win.ShapeActivite->isVisible());
        // The failed drain does not hold the watchdog for the rest of the run.
        EXPECT_FALSE(PbBCheckFRADx55EnCours);
    }

    Lib_Data_BTrieve::seams::setEngine({});
    advance(10min);
    engine().Timer60s_Timer();
    EXPECT_EQ(logCount("UDP: Data FRADx55 read: <CurrLib:Un>"), 1);
}

}  // namespace
