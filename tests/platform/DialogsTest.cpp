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
    const struct { int style, result; } cases[] = {
        {dlg::vbOKOnly, dlg::vbOK},           {dlg::vbOKCancel + 256, dlg::vbCancel},
        {dlg::vbAbortRetryIgnore, dlg::vbAbort}, {dlg::vbYesNo + 256, dlg::vbNo},
        {dlg::vbYesNo + 512, dlg::vbYes},     {dlg::vbRetryCancel, dlg::vbRetry},
    };
    for (const auto& c : cases) EXPECT_EQ(dlg::defaultResult(c.style), c.result) << c.style;
}

TEST_F(Dialogs, ScriptedWindowsTakeTheNextAnswerOrTheirDefault) {
    dlg::queueAnswers({"2"});
    EXPECT_EQ(dlg::scriptedWindowAnswer("Choix de la base", "Base 1; Base 2"), std::optional<std::string>("2"));
    EXPECT_EQ(dlg::scriptedWindowAnswer("Choix de la base", "Base 1; Base 2"), std::optional<std::string>(""));
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, dlg::Kind::Window);
    EXPECT_EQ(asked[1].answer, "default");
}
