// The answer seam: queued answers in order, then each box's default button.
#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "tests/support/TempSite.h"

namespace dlg = platform::dialogs;

class Dialogs : public support::SiteTest {};

TEST_F(Dialogs, QueuedAnswersThenDefaultButtons) {
    dlg::queueAnswers({"no", "retry", "/tmp/picked"});
    EXPECT_EQ(dlg::MsgBox("Quit?", dlg::vbYesNo + dlg::vbQuestion, "T"), dlg::vbNo);
    EXPECT_EQ(dlg::MsgBox("Err", dlg::vbAbortRetryIgnore, "T"), dlg::vbRetry);
    EXPECT_EQ(dlg::PickFolder("Choose", "C:\\"), std::optional<std::string>("/tmp/picked"));
    // The list is used up: defaults from here on.
    EXPECT_EQ(dlg::MsgBox("Again", dlg::vbYesNoCancel + dlg::vbDefaultButton3, "T"), dlg::vbCancel);
    EXPECT_EQ(dlg::MsgBox("Info", dlg::vbOKOnly, "T"), dlg::vbOK);
    EXPECT_FALSE(dlg::PickOpenFile("Open", "C:\\", "*.Log", "").has_value());
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[0].text, "Quit?");
    EXPECT_EQ(asked[0].answer, "no");
    EXPECT_EQ(asked[3].answer, "cancel");
}

TEST(DialogsDefaults, DefaultButtonTable) {
    const struct {
        int style, result;
    } cases[] = {
        {dlg::vbOKOnly, dlg::vbOK},
        {dlg::vbOKCancel + 256, dlg::vbCancel},
        {dlg::vbAbortRetryIgnore, dlg::vbAbort},
        {dlg::vbYesNo + 256, dlg::vbNo},
        {dlg::vbYesNo + 512, dlg::vbYes},
        {dlg::vbRetryCancel, dlg::vbRetry},
    };
    for (const auto& c : cases) EXPECT_EQ(dlg::defaultResult(c.style), c.result) << c.style;
}

TEST_F(Dialogs, ScriptedWindowsTakeTheNextAnswerOrTheirDefault) {
    dlg::queueAnswers({"2"});
    EXPECT_EQ(dlg::scriptedWindowAnswer("Choix de la base", "Base 1; Base 2"),
              std::optional<std::string>("2"));
    EXPECT_EQ(dlg::scriptedWindowAnswer("Choix de la base", "Base 1; Base 2"),
              std::optional<std::string>(""));
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, dlg::Kind::Window);
    EXPECT_EQ(asked[1].answer, "default");
}

namespace {

// Counts the closes of open boxes it is asked for; it never shows anything.
class CountingPresenter : public dlg::Presenter {
public:
    int messageBox(const std::string&, int style, const std::string&) override {
        return dlg::defaultResult(style);
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
    void closeOpenBoxes() override { ++closes; }
    int closes = 0;
};

}  // namespace

TEST_F(Dialogs, AnUnattendedStopAnswersEveryBoxWithItsDefaultWithoutTakingTheScriptsAnswers) {
    CountingPresenter presenter;
    dlg::setPresenter(&presenter);
    std::vector<std::string> lines;
    dlg::setStopReport([&](const std::string& line) { lines.push_back(line); });
    dlg::queueAnswers({"no", "C:\\Picked\\", "2"});
    dlg::beginStop("Stop by signal");
    dlg::beginStop("Session end");  // the first cause stays; the open boxes are closed once
    EXPECT_EQ(presenter.closes, 1);
    EXPECT_TRUE(dlg::stopBegun());

    EXPECT_EQ(dlg::MsgBox("Voulez-vous quitter le programme ?", dlg::vbYesNo + dlg::vbQuestion, "Relaytone"),
              dlg::vbYes);
    EXPECT_EQ(dlg::MsgBox("Encore ?", dlg::vbYesNoCancel + dlg::vbDefaultButton2, "T"), dlg::vbNo);
    EXPECT_FALSE(dlg::PickFolder("Dossier", "C:\\").has_value());
    EXPECT_FALSE(dlg::InputBox("Nom", "T", "proposé").has_value());
    EXPECT_EQ(dlg::scriptedWindowAnswer("Choix de la base", "Base 1"), std::optional<std::string>(""));
    EXPECT_EQ(dlg::scriptedTaskAnswer("Composants", "Liste"), std::optional<std::string>(""));
    EXPECT_EQ(dlg::MsgBox("Ligne 1\r\nLigne 2", dlg::vbOKOnly, "T"), dlg::vbOK);

    const std::vector<std::string> expected = {
        "Warning: Stop by signal: box not shown, default answer (yes): Relaytone | Voulez-vous quitter le programme ?",
        "Warning: Stop by signal: box not shown, default answer (no): T | Encore ?",
        "Warning: Stop by signal: box not shown, default answer (cancel): Dossier | C:\\",
        "Warning: Stop by signal: box not shown, default answer (cancel): T | Nom",
        "Warning: Stop by signal: box not shown, default answer (default): Choix de la base | Base 1",
        "Warning: Stop by signal: box not shown, default answer (default): Composants | Liste",
        "Warning: Stop by signal: box not shown, default answer (ok): T | Ligne 1  Ligne 2",
    };
    EXPECT_EQ(lines, expected);
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), expected.size());
    EXPECT_EQ(asked[0].answer, "yes") << "the script's \"no\" is not the operator's answer";
    dlg::setPresenter(nullptr);
}

namespace {

// A stop comes while its box is on screen; the box then closes with its default button.
class StopWhileShown : public CountingPresenter {
public:
    int messageBox(const std::string&, int style, const std::string&) override {
        dlg::beginStop("Stop by signal");
        return dlg::defaultResult(style);
    }
};

}  // namespace

// A question whose default would change what is stored: nobody answers, nothing changes.
TEST_F(Dialogs, AnUnattendedStopTakesTheAnswerThatKeepsTheStoredSettings) {
    const std::string question = "Voulez-vous enregistrer les options ?";
    const int style = dlg::vbYesNo + dlg::vbQuestion;
    // Answered by the script or the operator, the question is a question like any other.
    dlg::queueAnswers({"yes"});
    EXPECT_EQ(dlg::MsgBox(question, style, "Options", dlg::vbNo), dlg::vbYes);
    EXPECT_EQ(dlg::MsgBox(question, style, "Options", dlg::vbNo), dlg::vbYes) << "the script is used up";

    std::vector<std::string> lines;
    dlg::setStopReport([&](const std::string& line) { lines.push_back(line); });
    StopWhileShown presenter;
    dlg::setPresenter(&presenter);
    dlg::showOnScreen();
    EXPECT_EQ(dlg::MsgBox(question, style, "Options", dlg::vbNo), dlg::vbNo);
    EXPECT_EQ(dlg::MsgBox(question, style, "Options", dlg::vbNo), dlg::vbNo);
    EXPECT_EQ(dlg::MsgBox("Voulez-vous quitter le programme ?", style, "Relaytone"), dlg::vbYes);
    dlg::setPresenter(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Warning: Stop by signal: open box closed with the answer that keeps the stored "
                         "settings (no): Options | " +
                             question,
                         "Warning: Stop by signal: box not shown, the answer that keeps the stored "
                         "settings (no): Options | " +
                             question,
                         "Warning: Stop by signal: box not shown, default answer (yes): Relaytone | "
                         "Voulez-vous quitter le programme ?"}));
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 5u);
    EXPECT_EQ(asked[2].answer, "no");
    EXPECT_EQ(asked[3].answer, "no");
}

TEST_F(Dialogs, WithoutAReportTheStopLinesGoToStandardError) {
    dlg::beginStop("Stop by signal");
    ::testing::internal::CaptureStderr();
    dlg::MsgBox("FichierBatch: Avant: C:\\RLT\\AL3_Relaytone_A.bat", dlg::vbOKOnly, "AL3_Relaytone_API");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Warning: Stop by signal: box not shown, default answer (ok): AL3_Relaytone_API | "
              "FichierBatch: Avant: C:\\RLT\\AL3_Relaytone_A.bat\n");
}
