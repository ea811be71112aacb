// The engine window's task dialog: scripted answers, the timed close, the program ending, and
// a dialog without timer that waits for its click.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

#include "engine/TaskDialogWindow.h"

#include "foundation/RunState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "tests/engine/WebFixture.h"

namespace {

using namespace engine;
namespace dialogs = platform::dialogs;

class TaskDialogTest : public webtest::EngineWindowTest {
protected:
    TaskDialogControl& dialog() { return engine().TaskDialog; }

    // The components list as the main menu arms it: OK, then one button per year.
    void armYears() {
        dialog().Reset();
        dialog().WindowTitle = webtest::kCaption;
        dialog().MainInstruction = "Liste des composants installés";
        dialog().Content = "Aucune installation trouvée.";
        dialog().CommonButtons = tdbOk;
        dialog().DefaultButton = IDOK;
        for (int32_t year : {2020, 2021, 2022}) dialog().AddButton(std::to_string(year), year);
    }
    // A dialog that closes by itself through Cancel after the delay.
    void armTimed(int32_t delay) {
        dialog().Reset();
        dialog().WindowTitle = webtest::kCaption;
        dialog().CommonButtons = tdbOk | tdbCancel;
        dialog().DefaultButton = IDCANCEL;
        PbLDelaiTaskDialog = delay;
        dialog().ShowTimer = 1;
        dialog().SetProgressBarPosition(0);
        dialog().SetProgressBarRange(0, delay);
    }
    void advance(int milliseconds) { platform::clock::advance(std::chrono::milliseconds(milliseconds)); }
    // Ends a show that a failing test would leave open.
    void safetyClick() {
        later(8000, [this] { dialog().ClickButton(IDOK); });
    }
};

TEST_F(TaskDialogTest, ScriptedAnswersCloseTheDialogThroughTheNamedButtonOrTheDefault) {
    struct Case {
        std::string answer;
        int32_t id;
    };
    const std::vector<Case> cases = {
        {"", IDOK},     {"2021", 2021},
        {"ok", IDOK},   {"cancel", IDOK},  // not on this dialog: the default button
        {"1999", IDOK}, {"2022", 2022},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("answer '" + c.answer + "'");
        dialogs::reset();
        dialogs::queueAnswers({c.answer});
        armYears();
        PbLReponseTaskDialog = -1;
        EXPECT_EQ(dialog().ShowDialog(), c.id);
        EXPECT_EQ(PbLReponseTaskDialog, c.id);
        EXPECT_FALSE(dialog().IsOpen());
        const auto asked = dialogs::asked();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].kind, dialogs::Kind::Task);
        EXPECT_EQ(asked[0].title, webtest::kCaption);
        EXPECT_EQ(asked[0].text, "Liste des composants installés\nAucune installation trouvée.");
    }
    // With no button set at all the dialog still has its OK button; the list used up answers
    // with the default.
    dialog().Reset();
    EXPECT_EQ(dialog().ShowDialog(), IDOK);
}

TEST_F(TaskDialogTest, TheTimerMovesTheProgressUpToTheDelayAndThenClicksTheDefaultButton) {
    struct Case {
        int32_t delay;
        int32_t milliseconds;
        int32_t progress;  // -1: left where it was
        int32_t reply;     // -1: not stored
    };
    const std::vector<Case> cases = {
        {5000, 4999, 4999, -1}, {5000, 5000, 5000, -1}, {5000, 5001, -1, IDCANCEL},
        {0, 0, 0, -1},          {0, 1, -1, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.milliseconds) + " ms of " + std::to_string(c.delay));
        armTimed(c.delay);
        dialog().SetProgressBarPosition(-7);
        PbLReponseTaskDialog = -1;
        engine().TaskDialog_Timer(c.milliseconds);
        EXPECT_EQ(dialog().ProgressBarPosition(), c.progress == -1 ? -7 : c.progress);
        EXPECT_EQ(PbLReponseTaskDialog, c.reply);
    }
}

TEST_F(TaskDialogTest, AnOpenDialogWithADelayClosesByItselfThroughItsDefaultButton) {
    armTimed(5000);
    dialogs::queueAnswers({"wait"});
    std::vector<std::pair<int32_t, bool>> seen;  // progress and open, after each step
    later(400, [&] { advance(2000); });
    later(800, [&] {
        seen.emplace_back(dialog().ProgressBarPosition(), dialog().IsOpen());
        advance(3000);  // exactly the delay
    });
    later(1200, [&] {
        seen.emplace_back(dialog().ProgressBarPosition(), dialog().IsOpen());
        advance(1);
    });
    safetyClick();
    PbLReponseTaskDialog = -1;
    EXPECT_EQ(dialog().ShowDialog(), IDCANCEL);
    EXPECT_EQ(PbLReponseTaskDialog, IDCANCEL);
    const std::vector<std::pair<int32_t, bool>> expected = {{2000, true}, {5000, true}};
    EXPECT_EQ(seen, expected);
}

TEST_F(TaskDialogTest, TheProgramEndingFreezesAnOpenTimedDialog) {
    armTimed(5000);
    dialogs::queueAnswers({"wait"});
    bool enabledAfterAbandon = true, openAfterDelay = false;
    int32_t progressAfterDelay = -1;
    later(400, [&] { advance(1000); });
    later(800, [&] { Abandon = true; });
    later(1200, [&] {
        enabledAfterAbandon = dialog().Enabled();
        advance(60000);  // far past the delay: a frozen dialog no longer closes by itself
    });
    later(1600, [&] {
        openAfterDelay = dialog().IsOpen();
        progressAfterDelay = dialog().ProgressBarPosition();
        dialog().ClickButton(IDOK);  // a click from the code still ends it
    });
    safetyClick();
    EXPECT_EQ(dialog().ShowDialog(), IDOK);
    EXPECT_FALSE(enabledAfterAbandon);
    EXPECT_TRUE(openAfterDelay);
    EXPECT_EQ(progressAfterDelay, 1000);
}

TEST_F(TaskDialogTest, TheProgramEndingUnderAnOpenDialogClosesItThroughItsDefaultButton) {
    struct Case {
        std::string what;
        bool timed;
        int32_t id;
    };
    const std::vector<Case> cases = {
        {"components list, no timer", false, IDOK},
        {"timed dialog frozen by the shut-down", true, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.timed)
            armTimed(5000);
        else
            armYears();
        dialogs::queueAnswers({"wait"});
        PbLReponseTaskDialog = -1;
        if (c.timed) later(200, [] { Abandon = true; });
        // The shut-down ends with this, from inside the dialog's wait.
        later(400, [] { QCoreApplication::exit(0); });
        EXPECT_EQ(dialog().ShowDialog(), c.id);
        EXPECT_EQ(PbLReponseTaskDialog, c.id);
        EXPECT_FALSE(dialog().IsOpen());
        Abandon = false;
        // The next case and the fixture need running event loops again.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
}

TEST_F(TaskDialogTest, ADialogWithoutTimerWaitsForItsClickWhateverTheDelay) {
    armYears();
    dialog().AddRadioButton("Complète", 11);
    dialog().AddRadioButton("Mise à jour", 12);
    PbLDelaiTaskDialog = 100;
    dialogs::queueAnswers({"wait"});
    bool openLater = false;
    later(300, [&] { advance(60000); });
    later(800, [&] {
        openLater = dialog().IsOpen();
        dialog().RadioChosen(12);
        dialog().ClickButton(1999);  // not one of its buttons: nothing happens
        dialog().ClickButton(2021);
    });
    safetyClick();
    EXPECT_EQ(dialog().ShowDialog(), 2021);
    EXPECT_TRUE(openLater);
    EXPECT_EQ(PbLReponseTaskDialog, 2021);
    EXPECT_EQ(PbLRadioTaskDialog, 12);
    EXPECT_EQ(dialog().ProgressBarPosition(), 0);
}

TEST_F(TaskDialogTest, AShowWhileADialogIsOpenShowsItsOwnAndReturnsItsOwnClick) {
    armYears();
    dialogs::queueAnswers({"wait", ""});
    int32_t nested = -1, replyAfterNested = -1;
    bool outerStillOpen = false;
    later(300, [&] {
        // A verdict asked for while the list is open, armed on the same control.
        dialog().Reset();
        dialog().WindowTitle = webtest::kCaption;
        dialog().MainInstruction = "Dernière version disponible: 2026.1210.0900";
        dialog().CommonButtons = tdbOk;
        dialog().DefaultButton = IDOK;
        nested = dialog().ShowDialog();
        replyAfterNested = PbLReponseTaskDialog;
        outerStillOpen = dialog().IsOpen();
        // The list under it still has its year buttons, whatever the verdict's arming did.
        dialog().ClickButton(2022);
    });
    safetyClick();
    PbLReponseTaskDialog = -1;
    EXPECT_EQ(dialog().ShowDialog(), 2022);
    EXPECT_EQ(PbLReponseTaskDialog, 2022);
    EXPECT_EQ(nested, IDOK);
    EXPECT_EQ(replyAfterNested, IDOK);
    EXPECT_TRUE(outerStillOpen);
    const auto asked = dialogs::asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Liste des composants installés\nAucune installation trouvée.");
    EXPECT_EQ(asked[1].text, "Dernière version disponible: 2026.1210.0900");
}

TEST_F(TaskDialogTest, TheWindowOnScreenShowsTheButtonsAndPassesTheirClicks) {
    armYears();
    dialogs::queueAnswers({"wait"});
    QStringList captions;
    bool openAfterEscape = false;
    later(300, [&] {
        const TaskDialogContent content = dialog().Snapshot();
        TaskDialogWindow window(dialog(), content);
        QPushButton* year = nullptr;
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            captions << button->text();
            if (button->text() == "2022") year = button;
        }
        window.reject();  // no Cancel button: Escape and the close box do nothing
        openAfterEscape = dialog().IsOpen();
        if (year) year->click();
    });
    safetyClick();
    EXPECT_EQ(dialog().ShowDialog(), 2022);
    EXPECT_EQ(captions, QStringList({"OK", "2020", "2021", "2022"}));
    EXPECT_TRUE(openAfterEscape);
}

}  // namespace

namespace {

TEST_F(TaskDialogTest, AnUnattendedStopClosesTheOpenDialogThroughItsDefaultAndSaysSo) {
    std::vector<std::string> lines;
    dialogs::setStopReport([&](const std::string& line) { lines.push_back(line); });
    armYears();
    dialogs::queueAnswers({"wait", "2021"});
    safetyClick();
    later(200, [] { dialogs::beginStop("Stop by signal"); });
    EXPECT_EQ(dialog().ShowDialog(), IDOK);
    EXPECT_FALSE(dialog().IsOpen());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Warning: Stop by signal: open box closed with its default answer (1): " +
                            std::string(webtest::kCaption) +
                            " | Liste des composants installés Aucune installation trouvée.");

    // Once the stop has begun a dialog does not wait, whatever the script holds.
    armYears();
    EXPECT_EQ(dialog().ShowDialog(), IDOK);
}

}  // namespace
