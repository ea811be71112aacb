// Outside programs with real processes: the shell codes and their reports, the waits, and the
// previous-instance test against a real older copy holding the program's title.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <signal.h>

#include "foundation/ErrorReporter.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/Timing.h"
#include "platform/Dialogs.h"
#include "platform/WinPath.h"
#include "platform/process/Process.h"
#include "platform/process/WindowLookup.h"
#include "tests/foundation/SiteFixture.h"
#include "tests/support/Programs.h"

namespace fs = std::filesystem;
namespace dlg = platform::dialogs;
namespace proc = platform::process;
using namespace std::chrono_literals;

namespace {

// A real older copy: the stub holding the program's title until asked to quit.
class OlderCopy {
public:
    explicit OlderCopy(const fs::path& driveC) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("AL3_DRIVE_C", QString::fromStdString(driveC.string()));
        process_.setProcessEnvironment(env);
        process_.start(QString::fromStdString(support::stubProgram().string()),
                       {QString::fromStdString("--title=" + PbSTitreApplication)});
        process_.waitForReadyRead(10000);
        listening_ = process_.readLine().trimmed() == "listening";
        pid_ = proc::Pid(process_.processId());
    }
    ~OlderCopy() {
        process_.kill();
        process_.waitForFinished();
    }
    bool listening() const { return listening_; }
    bool endsWithin(int ms) {
        return process_.state() == QProcess::NotRunning || process_.waitForFinished(ms);
    }
    proc::Pid pid() const { return pid_; }

private:
    QProcess process_;
    bool listening_ = false;
    proc::Pid pid_ = 0;
};

class ExternalPrograms : public sitetest::Site {
protected:
    // The stub copied into the test's own program folder, so that its record is the test's own.
    std::string ownStub() {
        const fs::path copy = support::copyProgram(support::stubProgram(), drive.root() / "Prog", "al3_stub");
        ::setenv("AL3_STUB_RECORD", "1", 1);
        return platform::winpath::fromHost(copy);
    }
    proc::Pid startStub(const std::vector<std::string>& arguments) {
        const proc::Started started = proc::start({support::stubProgram().string(), arguments, {}});
        EXPECT_TRUE(started.ok()) << started.reason;
        return started.pid;
    }
};

}  // namespace

TEST(ShellRefusals, CodesGiveTheirNumberAndFrenchText) {
    const int32_t app = int32_t(0x80040000u) + 1048;
    const struct {
        int32_t code;
        int32_t number;
        const char* text;
    } cases[] = {
        {0, 7, "Dépassement de mémoire"},
        {8, 7, "Dépassement de mémoire"},
        {2, 53, "Chemin d'accès non trouvé"},
        {3, 76, "Chemin d'accès non trouvé"},
        {5, 75, "Violation de partage: Erreur d'accès au Dossier/Fichier"},
        {26, 75, "Violation de partage: Erreur d'accès au Dossier/Fichier"},
        {11, app + 11, "Cet exécutable est invalide ou corrompu"},
        {27, app + 27, "Il n'y a aucune application associée à ce type de fichier"},
        {31, app + 31, "Il n'y a aucune application associée à ce type de fichier"},
        {28, 286, "Le fichier ne peut être ouvert car le délai d'attente est dépassé. Réessayez plus tard"},
        {29, 285, "Le fichier ne peut être ouvert car la transaction DDE a échoué. Réessayez plus tard"},
        {30, 285, "Le fichier ne peut être ouvert car l'application est occupée. Réessayez plus tard"},
        {32, 48, "Le fichier dll ne peut être trouvé"},
        {17, app + 17, "Erreur à l'ouverture ou l'impression du fichier sélectionné"},
    };
    for (const auto& c : cases) {
        const auto refusal = Lib_Systeme::shellRefusalForCode(c.code);
        EXPECT_EQ(refusal.number, c.number) << c.code;
        EXPECT_EQ(refusal.description, c.text) << c.code;
    }
}

TEST_F(ExternalPrograms, MissingProgramIsLoggedAsError53AndItsCodeReturned) {
    write("C:\\Prog\\readme.txt", "");
    EXPECT_EQ(Lib_Systeme::ExecuterProgrammeExterne("open", "C:\\Prog\\AL3_Quillmoor.exe", "", "", 1), 2);
    EXPECT_EQ(logged("Err: 53: Chemin d'accès non trouvé: C:\\Prog\\AL3_Quillmoor.exe |Source: "
                     "Lib_Systeme:ExecuterProgrammeExterne:20"),
              1);
    EXPECT_EQ(DerniereErreur.number, 0);  // a log line, not a reported error
}

TEST_F(ExternalPrograms, NotAnExecutableGoesToTheErrorReporter) {
    write("C:\\Prog\\broken",
          "\x7f"
          "ELF not really");
    fs::permissions(drive.host("C:\\Prog\\broken"), fs::perms::owner_all);
    const int32_t code = Lib_Systeme::ExecuterProgrammeExterne("open", "C:\\Prog\\broken", "", "", 1);
    ASSERT_LE(code, 32);
    const auto refusal = Lib_Systeme::shellRefusalForCode(code);
    EXPECT_EQ(DerniereErreur.number, refusal.number);
    EXPECT_EQ(DerniereErreur.line, 20);  // the same statement as the 53 line names
    EXPECT_EQ(logged(refusal.description), 1);
}

TEST_F(ExternalPrograms, ParametersReachTheProgramAsWrittenNeverThroughAShell) {
    const std::string stub = ownStub();
    const int32_t code = Lib_Systeme::ExecuterProgrammeExterne(
        "open", stub, "--exit=7 \"Radio Été 2\" $HOME;touch_x `id`", "C:\\", 1);
    EXPECT_GT(code, 32);
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());
    const fs::path host = platform::winpath::toHost(stub);
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(host).empty(); }, 5000ms));
    const auto starts = support::stubStarts(host);
    EXPECT_EQ(starts[0].arguments,
              (std::vector<std::string>{"--exit=7", "Radio Été 2", "$HOME;touch_x", "`id`"}));
    int32_t noLimit = 0;
    EXPECT_EQ(Lib_Systeme::AttenteFinProcessusExterne(starts[0].pid, noLimit), 7);
}

TEST_F(ExternalPrograms, WaitWithATimeOutAnswers259WhileItRuns) {
    const proc::Pid pid = startStub({"--sleep-ms=10000"});
    int32_t timeout = 300;
    const int64_t start = Lib_Systeme::GetTickCountEx();
    EXPECT_EQ(Lib_Systeme::AttenteFinProcessusExterne(pid, timeout), 259);
    const int64_t elapsed = Lib_Systeme::GetTickCountEx() - start;
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 3000);
    proc::endProcess(pid, 100ms);
}

TEST_F(ExternalPrograms, WaitWithoutLimitKeepsTheInterfaceAliveAndEndsWhenQuitting) {
    for (const int32_t mode : {0, -1}) {
        Abandon = false;
        PbBQuitter = false;
        const proc::Pid pid = startStub({"--sleep-ms=10000"});
        bool timerRan = false;
        QTimer::singleShot(50, [&] { timerRan = true; });
        QTimer::singleShot(200, [] { PbBQuitter = true; });
        int32_t timeout = mode;
        EXPECT_EQ(Lib_Systeme::AttenteFinProcessusExterne(pid, timeout), 259) << mode;
        EXPECT_TRUE(timerRan) << mode;
        proc::endProcess(pid, 100ms);
    }
    PbBQuitter = false;
    const proc::Pid quick = startStub({"--exit=3"});
    int32_t negative = -1;
    EXPECT_EQ(Lib_Systeme::AttenteFinProcessusExterne(quick, negative), 3);
}

TEST_F(ExternalPrograms, NoPreviousCopyGoesOnAtOnceAndNeverSeesItsOwnWindow) {
    proc::TitledWindow own(PbSTitreApplication, [] {});
    bool ending = true;
    int32_t wait = 5000;
    const int64_t start = Lib_Systeme::GetTickCountEx();
    EXPECT_TRUE(Lib_Public::TesterPrevInstance(ending, wait));
    EXPECT_LT(Lib_Systeme::GetTickCountEx() - start, 1000);
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());
}

TEST_F(ExternalPrograms, MessageModeTellsTheUser) {
    OlderCopy older(drive.root());
    ASSERT_TRUE(older.listening());
    bool ending = false;
    int32_t wait = 0;
    EXPECT_FALSE(Lib_Public::TesterPrevInstance(ending, wait));
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              "Application encore chargée en mémoire.\r\n\r\n"
              "Veuillez la quitter avant de relancer une autre instance de cette application.");
    EXPECT_FALSE(older.endsWithin(100));
}

TEST_F(ExternalPrograms, EndingModeAsksTheOlderCopyToQuit) {
    OlderCopy older(drive.root());
    ASSERT_TRUE(older.listening());
    bool ending = true;
    int32_t wait = 200;
    EXPECT_TRUE(Lib_Public::TesterPrevInstance(ending, wait));
    EXPECT_TRUE(older.endsWithin(2000));
    EXPECT_EQ(logged("Err: PrevInstance found in Windows memory. Prev-Instance try to kill |Hwnd:" +
                     std::to_string(older.pid())),
              1);
    EXPECT_EQ(logged("PrevInstance still running"), 0);
}

TEST_F(ExternalPrograms, AnOlderCopyThatSurvivesTheTenPassesIsEndedByItsId) {
    OlderCopy older(drive.root());
    ASSERT_TRUE(older.listening());
    ::kill(older.pid(), SIGSTOP);  // it can no longer answer the quit message
    bool ending = true;
    int32_t wait = 30;
    EXPECT_TRUE(Lib_Public::TesterPrevInstance(ending, wait));
    EXPECT_EQ(logged("Err: PrevInstance found in Windows memory."), 10);
    EXPECT_EQ(logged("PrevInstance still running"), 1);
    EXPECT_TRUE(older.endsWithin(5000));
}
