// Quit, shut-down and restart on the real main window (its start-up left out).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>

#include <QCoreApplication>
#include <QTimer>

#include "btrieve/BtrState.h"
#include "btrieve/Catalogue.h"
#include "btrieve/Seams.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "platform/StopSignals.h"
#include "platform/WinPath.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_SysTray.h"
#include "shell/Lib_Tableur.h"
#include "shell/UnattendedStops.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

// The main window without its start-up sequence, loaded and shown.
class TestWindow : public Frm_Main {
protected:
    void Form_Load() override {}
};

class Quit : public support::SiteTest {
protected:
    void SetUp() override {
        Abandon = PbBQuitter = PbBRelanceForcee = PbBRelanceLancee = false;
        PbBFrmSetupChargee = false;  // a test that kept the log writing through its shut-down
        PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
        PbSDossierSettings.clear();
        logbuffers::earlyBuffer().clear();
        logbuffers::fileBuffer().clear();
        win.Load();
        win.Show();
    }
    void TearDown() override {
        support::endProgramsUnder(drive.root());
        leaveTheQuitRequestBehind();
    }
    // The shut-down ends the application's event loop; with none running, that request would
    // end every later wait of the process at once. A turn of the application's loop takes it.
    static void leaveTheQuitRequestBehind() {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    int lineList(const std::string& textValue) const {
        int n = 0;
        for (const auto* listBox : {&logbuffers::earlyBuffer(), &logbuffers::fileBuffer()})
            for (const auto& l : *listBox)
                if (l.find(textValue) != std::string::npos) ++n;
        return n;
    }
    bool logged(const std::string& textValue) const {
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(textValue) != std::string::npos) return true;
        return false;
    }
    std::filesystem::path launcherHost() const {
        return drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Relaytone_Launcher";
    }
    void installLauncher() const {
        ::setenv("AL3_STUB_RECORD", "1", 1);
        support::copyProgram(support::stubProgram(), launcherHost().parent_path(), "AL3_Relaytone_Launcher");
    }

    TestWindow win;
};

TEST_F(Quit, ClosingTheWindowAnsweredNoKeepsTheProgramRunning) {
    platform::dialogs::queueAnswers({"no"});
    win.close();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_FALSE(PbBQuitter);
    EXPECT_FALSE(Abandon);
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Quit, ClosingTheWindowAnsweredYesShutsDownAndSavesThePosition) {
    platform::dialogs::queueAnswers({"yes"});
    win.close();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_TRUE(Abandon);
    EXPECT_FALSE(win.Loaded());
    EXPECT_TRUE(logged("Application closed by human action (Menu action)"));
    const std::string positions = support::readWindowsFile(
        drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini"));
    EXPECT_NE(positions.find("Frm_Main_WindowState="), std::string::npos) << positions;
}

TEST_F(Quit, ShutDownUnloadsTheSettingsPagesSoEachKeepsItsPosition) {
    // Where the operator left each page, in pixels, and the twips that must come back.
    const struct {
        const char* page;
        platform::forms::Form* form;
        int x, y;
        const char* left;
        const char* top;
    } cases[] = {
        {"FrmSetupPeripherique", &FrmSetupPeripherique::get(), 110, 120, "1650", "1800"},
        {"FrmSetupDivers", &FrmSetupDivers::get(), 130, 140, "1950", "2100"},
        {"FrmSetupSon", &FrmSetupSon::get(), 20000, 160, "300000", "2400"},
    };
    for (const auto& c : cases) c.form->move(c.x, c.y);
    win.Unload(platform::forms::vbAppTaskManager);
    const std::string positions =
        "C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini";
    for (const auto& c : cases) {
        EXPECT_EQ(Lib_Systeme::LectureIni(positions, "FrmPos", std::string(c.page) + "_Left"), c.left)
            << c.page;
        EXPECT_EQ(Lib_Systeme::LectureIni(positions, "FrmPos", std::string(c.page) + "_Top"), c.top)
            << c.page;
    }
    EXPECT_FALSE(FrmSetupPeripherique::exists());
    EXPECT_FALSE(FrmSetupDivers::exists());
    EXPECT_FALSE(FrmSetupSon::exists());
}

// The operator's place for the main window, then the shut-down: the twips it must save.
class QuitPlace : public Quit {
protected:
    void placeAndQuit(bool inStandby) {
        win.showNormal();
        win.move(40, 50);
        win.resize(600, 400);
        if (inStandby) {
            Lib_SysTray::forcedTrayAvailability = false;  // standby minimises the window
            Lib_SysTray::MiseEnVeille(win, true, "Aerolune");
            ASSERT_TRUE(win.isMinimized());
        }
        win.Unload(platform::forms::vbAppTaskManager);
        const std::string positions =
            "C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini";
        const auto readSetting = [&](const char* keyName) {
            return Lib_Systeme::LectureIni(positions, "FrmPos", keyName);
        };
        EXPECT_EQ(readSetting("Frm_Main_WindowState"), "0");
        EXPECT_EQ(readSetting("Frm_Main_Left"), "600");
        EXPECT_EQ(readSetting("Frm_Main_Top"), "750");
        EXPECT_EQ(readSetting("Frm_Main_Width"), "9000");
        EXPECT_EQ(readSetting("Frm_Main_Height"), "6000");
    }
};

TEST_F(QuitPlace, ShutDownSavesWhereTheOperatorLeftTheMainWindow) { placeAndQuit(false); }

TEST_F(QuitPlace, ShutDownInStandbySavesTheStateTheWindowHadBeforeIt) { placeAndQuit(true); }

// A window of the program that the fixed list of the shut-down would not know.
class OtherForm : public platform::forms::Form {
public:
    explicit OtherForm(bool refuse) : Form(refuse ? "FrmTetue" : "FrmAutre"), refuse_(refuse) {}
    int questionsAsked = 0;

protected:
    void Form_QueryUnload(int& cancel, int) override {
        ++questionsAsked;
        if (refuse_) cancel = 1;
    }

private:
    bool refuse_;
};

TEST_F(Quit, ShutDownUnloadsEveryWindowStillLoadedAndAsksEachOnce) {
    OtherForm autre(false), stubborn(true);
    autre.Show();
    stubborn.Load();
    win.Unload(platform::forms::vbAppTaskManager);
    EXPECT_FALSE(autre.Loaded());
    EXPECT_FALSE(autre.Visible());
    EXPECT_EQ(autre.questionsAsked, 1);
    EXPECT_TRUE(stubborn.Loaded());  // it refused: asked once, not again and again
    EXPECT_EQ(stubborn.questionsAsked, 1);
    stubborn.Hide();
}

TEST_F(Quit, ARestartStartsTheLauncherAndQuitsWithoutAQuestion) {
    installLauncher();
    win.RelancerApplication(false, "Test:Premier");
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_TRUE(PbBQuitter);
    EXPECT_TRUE(PbBRelanceForcee);
    EXPECT_FALSE(win.Loaded());
    EXPECT_TRUE(logged("Restart needed: Application closed by code action |Sub: Test:Premier"));
    EXPECT_TRUE(logged("Restart needed: Launch: C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(launcherHost()).empty(); },
                                    std::chrono::seconds(5)));
    const auto starts = support::stubStarts(launcherHost());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(starts[0].arguments.empty());  // standby at launch is not ticked
}

TEST_F(Quit, ALauncherGoneAtTheSecondLookLeavesTheGuardSetAndLaterRequestsOnlyLog) {
    // In test mode the first look lets a missing launcher through; the second finds it missing.
    platform::dialogs::queueAnswers({"ok"});
    win.RelancerApplication(true, "Test:Premier");
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text,
              "Application non trouvée:\r\n\r\nC:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe");
    EXPECT_TRUE(PbBRelanceLancee);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(win.Loaded());

    installLauncher();
    win.RelancerApplication(false, "Test:Second");
    EXPECT_TRUE(logged("Restart needed: But Already in Escape Mode |Sub: Test:Second"));
    EXPECT_TRUE(win.Loaded());
    EXPECT_TRUE(support::stubStarts(launcherHost()).empty());
}

TEST_F(Quit, TheRealLauncherStartsTheProgramAgainWithTheCurrentBase) {
    // The program folder holds the real launcher and a stub in the program's place.
    const std::filesystem::path dossier = launcherHost().parent_path();
    support::copyProgram(support::builtProgram("AL3_Relaytone_Launcher"), dossier, "AL3_Relaytone_Launcher");
    ::setenv("AL3_STUB_RECORD", "1", 1);
    const auto programme = support::copyProgram(support::stubProgram(), dossier, "AL3_Relaytone");
    win.RelancerApplication(false, "Test:Lanceur");
    EXPECT_TRUE(PbBRelanceForcee);
    // The launcher waits 20 seconds, ends what runs, waits 2 more and starts the program.
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(programme).empty(); },
                                    std::chrono::seconds(75)));
    const auto starts = support::stubStarts(programme);
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>{"/Base=Current"});
}

TEST_F(Quit, ARestartWithStandbyAtLaunchPassesItToTheLauncher) {
    installLauncher();
    FrmSetupDivers::get().CheckMiseEnVeille->SetValue(platform::forms::vbChecked);
    win.RelancerApplication(false, "Test:Veille");
    EXPECT_TRUE(
        logged("Restart needed: Launch: C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe /Veille=True"));
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(launcherHost()).empty(); },
                                    std::chrono::seconds(5)));
    EXPECT_EQ(support::stubStarts(launcherHost())[0].arguments, std::vector<std::string>{"/Veille=True"});
}

TEST_F(Quit, ShutDownClosesTheMessageFileOfEveryStationStartUpOpened) {
    const std::string data = "C:\\AL_Data\\";
    std::filesystem::create_directories(drive.host(data));
    std::string failureText;
    ASSERT_EQ(automation::createBaseFiles(data, 3, automation::baseFiles(), failureText), 0) << failureText;
    PbSDossierDataBase[0] = data;
    PbTBases[0].Dossier_Data = data;
    win.PervasiveOuvertureFichiers(0, 1, 3);
    for (int station = 1; station <= 3; ++station) ASSERT_TRUE(PbBBtrFileOpen[0][station - 1][55]);

    win.Unload(platform::forms::vbAppTaskManager);
    for (int station = 1; station <= 3; ++station)
        EXPECT_FALSE(PbBBtrFileOpen[0][station - 1][55]) << "station " << station;
    EXPECT_FALSE(PbBBtrFileOpen[0][0][20]);
    EXPECT_TRUE(platform::dialogs::asked().empty());  // the task manager's close asks nothing
}

TEST_F(Quit, AQuitConfirmedFromAReportDuringTheOpeningClosesTheFilesOpenedSoFar) {
    const std::string data = "C:\\AL_Data\\";
    std::filesystem::create_directories(drive.host(data));
    std::string failureText;
    ASSERT_EQ(automation::createBaseFiles(data, 1, automation::baseFiles(), failureText), 0) << failureText;
    std::ofstream(drive.host(data + Lib_Data_BTrieve::NomFichierBTR(31, 0)), std::ios::trunc)
        << "not a record-manager file";
    PbSDossierDataBase[0] = data;
    PbTBases[0].Dossier_Data = data;
    // The process would end here; the files still open at that moment are counted instead.
    std::vector<int16_t> openAtEnd;
    int endCount = 0;
    Lib_Data_BTrieve::seams::setEndProcess([&] {
        ++endCount;
        for (int16_t fichier = 0; fichier < kBtrFileCount; ++fichier)
            if (PbBBtrFileOpen[0][0][size_t(fichier)]) openAtEnd.push_back(fichier);
    });
    PbBFrmSetupChargee = true;                          // keeps the log writing through the shut-down
    platform::dialogs::queueAnswers({"retry", "yes"});  // the report's box, then the quit question

    win.PervasiveOuvertureFichiers(0, 1, 1);
    Lib_Data_BTrieve::seams::setEndProcess({});
    EXPECT_EQ(endCount, 1);
    EXPECT_TRUE(openAtEnd.empty()) << openAtEnd.size() << " files left open";
    EXPECT_EQ(lineList("Close Application ? ErreurBTrieve"), 1);
    EXPECT_EQ(lineList("Pervasive Files: Closed"), 1);
    ASSERT_EQ(platform::dialogs::asked().size(), 2u);
    EXPECT_EQ(platform::dialogs::asked()[1].text, "Voulez-vous quitter le programme ?");
}

TEST_F(Quit, AQuitAskedDuringTheShutDownsWaitDoesNotUnloadTwice) {
    const std::string data = "C:\\AL_Data\\";
    std::filesystem::create_directories(drive.host(data));
    std::string failureText;
    ASSERT_EQ(automation::createBaseFiles(data, 1, automation::baseFiles(), failureText), 0) << failureText;
    PbSDossierDataBase[0] = data;
    PbTBases[0].Dossier_Data = data;
    win.PervasiveOuvertureFichiers(0, 1, 1);
    PbBFrmSetupChargee = true;  // keeps the log writing through the shut-down

    // A timer of another window asks to quit while the shut-down waits.
    QTimer::singleShot(100, &win, [&] { win.Quitter(true); });
    win.Unload(platform::forms::vbAppTaskManager);
    EXPECT_EQ(lineList("Pervasive Files: Closed"), 1);
    EXPECT_EQ(lineList("Form closed by the Taskmanager"), 1);
    EXPECT_EQ(lineList("Form closed by code action"), 0);
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);  // the late question, answered by default
}

TEST_F(Quit, ALauncherTheSystemCannotStartIsAnIncidentAndTheProgramRuns) {
    std::filesystem::create_directories(launcherHost().parent_path());
    std::ofstream(launcherHost()) << "not a program";
    std::filesystem::permissions(launcherHost(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    win.RelancerApplication(false, "Test:Refuse");
    EXPECT_TRUE(logged("Restart needed: Launch: C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    EXPECT_TRUE(
        logged("Err: Unable to launch again: Launcher not started: "
               "C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    EXPECT_FALSE(logged("Restart needed: Close Application"));
    const int incidents = win.ListeIncidents[0]->ListCount();
    ASSERT_GE(incidents, 1);
    EXPECT_NE(win.ListeIncidents[0]->List(incidents - 1).find("Launcher not started"), std::string::npos);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_FALSE(PbBRelanceForcee);
    EXPECT_FALSE(Abandon);
    EXPECT_TRUE(win.Loaded());
    EXPECT_TRUE(platform::dialogs::asked().empty());

    // Later requests only log, as after a launcher gone at the second look.
    win.RelancerApplication(false, "Test:Second");
    EXPECT_TRUE(logged("Restart needed: But Already in Escape Mode |Sub: Test:Second"));
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Quit, ARestartWithoutTheLauncherIsAnIncidentAndTheProgramRuns) {
    win.RelancerApplication(false, "Test:Manquant");
    EXPECT_TRUE(
        logged("Err: Unable to launch again: Application not found: "
               "C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1);
    EXPECT_FALSE(PbBRelanceLancee);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(win.Loaded());
}

// The session's end is Windows shutting down: the orderly shut-down, and a box it would show
// (the workbook that could not be written: no folder for it here) takes its default unseen.
TEST_F(Quit, TheSessionsEndShutsDownAsWindowsEndingWithoutWaitingOnABox) {
    shell::installUnattendedStops(win);
    Lib_Tableur::PbBClasseurGlobalLu = true;
    PbBFrmSetupChargee = true;  // keeps the log writing through the shut-down
    platform::dialogs::queueAnswers({"no"});
    shell::endOfSession(win);
    EXPECT_FALSE(win.Loaded());
    EXPECT_TRUE(Abandon);
    EXPECT_EQ(lineList("Form closed because Windows is shutting down"), 1);
    EXPECT_EQ(
        lineList(
            "Warning: Session end: box not shown, default answer (ok): " + win.Caption() +
            " | Impossible de créer le fichier:    C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls"),
        1);
    EXPECT_EQ(lineList("Voulez-vous quitter"), 0);
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].answer, "ok");
}

// The quit question on screen when a stop comes: the stop closes it, as it closes any box.
class StopDuringTheQuestion : public platform::dialogs::Presenter {
public:
    explicit StopDuringTheQuestion(std::function<void()> stop) : stop_(std::move(stop)) {}
    int messageBox(const std::string&, int style, const std::string&) override {
        stop_();
        support::eventually(
            [] {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                return platform::dialogs::stopBegun();
            },
            std::chrono::seconds(5));
        return platform::dialogs::defaultResult(style);
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> pickFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> pickOpenFile(const std::string&, const std::string&, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }

private:
    std::function<void()> stop_;
};

// Nobody answered the question the stop closed: the close is the stop's, in its own mode.
TEST_F(Quit, AStopDuringTheQuitQuestionClosesInTheStopsMode) {
    platform::stopsignals::hold();  // this process's SIGTERM is a stop from here on
    const struct {
        const char* name;
        bool closeBox;  // else the menu entry
        bool signal;    // else the session's end
        const char* reason;
    } cases[] = {
        {"close box, stop signal", true, true, "Form closed by the Taskmanager"},
        {"menu, stop signal", false, true, "Form closed by the Taskmanager"},
        {"close box, session end", true, false, "Form closed because Windows is shutting down"},
        {"menu, session end", false, false, "Form closed because Windows is shutting down"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!win.Loaded()) {
            Abandon = PbBQuitter = false;
            win.Load();
            win.Show();
        }
        platform::dialogs::reset();
        shell::installUnattendedStops(win);
        logbuffers::earlyBuffer().clear();
        logbuffers::fileBuffer().clear();
        PbBFrmSetupChargee = true;  // keeps the log writing through the shut-down
        StopDuringTheQuestion presenter(c.signal
                                            ? std::function<void()>([] { ::raise(SIGTERM); })
                                            : std::function<void()>([this] { shell::endOfSession(win); }));
        platform::dialogs::setPresenter(&presenter);
        platform::dialogs::showOnScreen();
        if (c.closeBox)
            win.close();
        else
            win.Quitter(false);
        platform::dialogs::setPresenter(nullptr);
        leaveTheQuitRequestBehind();
        EXPECT_FALSE(win.Loaded());
        EXPECT_TRUE(PbBQuitter);
        EXPECT_EQ(lineList(c.reason), 1);
        EXPECT_EQ(lineList("Form closed by"), c.signal ? 1 : 0);
        EXPECT_EQ(lineList("Application closed by human action"), 0);
        EXPECT_EQ(lineList(std::string(": open box closed with its default answer (yes): ") + win.Caption() +
                           " | Voulez-vous quitter le programme ?"),
                  1);
        platform::stopsignals::raised() = false;  // the record manager's retries would give up
    }
}

}  // namespace
