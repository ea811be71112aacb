// The error reporter's framed block, mail, grid export and restart; the French message boxes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "foundation/ErrorReporter.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "tests/foundation/NeighbourFakes.h"
#include "tests/support/TempSite.h"

namespace {

class ErrorReporter : public support::SiteTest {
protected:
    fakes::Windows windows;

    void SetUp() override {
        platform::clock::setManual(platform::timeOf({.year = 2024, .month = 3, .day = 1}), 5000);
        PbSDossierApplication = "C:\\App\\";
    }

    // The early buffer's texts without their stamped prefix.
    static std::vector<std::string> logged() {
        std::vector<std::string> texts;
        for (const std::string& line : logbuffers::earlyBuffer()) texts.push_back(line.substr(25));
        return texts;
    }

    void forget() {
        logbuffers::earlyBuffer().clear();
        windows.engine.mails.clear();
        windows.main.exports.clear();
        windows.main.restarts.clear();
        windows.main.incidents[0].clear();
    }
};

}  // namespace

TEST_F(ErrorReporter, FramedBlockLogsTheErrorAndItsSources) {
    struct Case {
        int64_t number;
        const char* description;
        const char* source;
        const char* caller;
        int32_t line;
        std::string text;
        bool mailed;
    };
    const std::string longDescription =
        "The first sentence of a long description goes on and on past the limit. "
        "The second one as well, so that it is well over one hundred characters";
    const Case cases[] = {
        {0x80040000LL + 1048, "Clé absente", "Lib_Data", "Frm_Test:Charger", 12,
         "Err: 1048 (Clé absente)  Source:Frm_Test:Charger:12 (Source: Lib_Data)", true},
        {0x80040000LL, "Base offset", "Lib_Data", "Frm_Test:Charger", 0,
         "Err: -2147221504 (Base offset)  Source:Frm_Test:Charger:0", true},
        {5, "Invalid procedure call", "AL3_Relaytone", "  ", 3, "Err: 5 (Invalid procedure call)", true},
        {7, "Out of memory", "AL3_Relaytone", "Lib_X:Y", 0, "Err: 7 (Out of memory)  Source:Lib_X:Y:0",
         false},
        {9, longDescription.c_str(), "", "Lib_X:Y", 1,
         "Err: 9 (The first sentence of a long description goes on and on past the limit  The "
         "second one as well, so that it is well over one hundred characters)  Source:Lib_X:Y:1",
         true},
    };
    for (const Case& c : cases) {
        forget();
        Lib_Public::ReportError(int32_t(uint32_t(c.number)), c.description, c.caller, c.source, c.line);
        const std::string rule(platform::cp1252::decodeUtf8(c.text).size(), '=');
        EXPECT_EQ(logged(), (std::vector<std::string>{rule, c.text, rule})) << c.text;
        ASSERT_EQ(windows.main.incidents[0].size(), 1u);
        EXPECT_TRUE(windows.main.incidents[0][0].ends_with(c.text));
        EXPECT_EQ(windows.main.exports,
                  (std::vector<std::string>{"C:\\App\\Local\\AL3_Relaytone\\Global.xls|SheetName|"
                                            "C:\\App\\Local\\AL3_Relaytone\\Global_Export.log|0"}));
        ASSERT_EQ(windows.engine.mails.size(), c.mailed ? 1u : 0u) << c.text;
        if (c.mailed) {
            EXPECT_EQ(windows.engine.mails[0].message, c.text);
            EXPECT_EQ(windows.engine.mails[0].to, "ops@example.test");
            EXPECT_EQ(windows.engine.mails[0].title, "");
            EXPECT_TRUE(windows.engine.mails[0].technical);
        }
        EXPECT_TRUE(windows.main.restarts.empty());
    }
}

TEST_F(ErrorReporter, DisconnectedAutomationObjectRestartsTheProgram) {
    Lib_Public::ReportError(int32_t(0x80010108u), "Disconnected", "Frm_MainBis:Timer30s_Timer", "Player", 4);
    const std::string text = "Err: -2147417848 (Disconnected)  Source:Frm_MainBis:Timer30s_Timer:4";
    const std::string rule(text.size(), '=');
    EXPECT_EQ(logged(), (std::vector<std::string>{rule, text, rule,
                                                  "Automation Error |Sub: Frm_MainBis:Timer30s_Timer:4"}));
    EXPECT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_EQ(windows.main.restarts, (std::vector<std::string>{"Lib_Public:GestionDesErreurs"}));
}

TEST_F(ErrorReporter, NoErrorStillSavesTheGridAndLogsNothing) {
    DerniereErreur = {};
    Lib_Public::GestionDesErreurs("Frm_Test:Rien");
    EXPECT_EQ(windows.main.exports.size(), 1u);
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());
    EXPECT_TRUE(windows.engine.mails.empty());
}

TEST_F(ErrorReporter, ReportDuringAReportAndReportsDuringShutDownDoNothing) {
    windows.engine.duringMail = [] { Lib_Public::ReportError(11, "Inner", "Frm_MainBis:EnvoiMail"); };
    Lib_Public::ReportError(5, "Outer", "Frm_Test:A");
    EXPECT_EQ(windows.main.exports.size(), 1u);
    EXPECT_EQ(windows.engine.mails.size(), 1u);
    for (const std::string& text : logged()) EXPECT_EQ(text.find("Inner"), std::string::npos);

    forget();
    windows.engine.duringMail = nullptr;
    Lib_Public::ReportError(5, "Second", "Frm_Test:B");  // the guard was cleared
    EXPECT_EQ(windows.engine.mails.size(), 1u);

    forget();
    Abandon = true;
    Lib_Public::ReportError(5, "Late", "Frm_Test:C");
    EXPECT_TRUE(windows.main.exports.empty());
    EXPECT_TRUE(windows.engine.mails.empty());
    Abandon = false;
}

TEST_F(ErrorReporter, AFailureThrownInsideAReportLeavesTheReporterWorking) {
    windows.engine.duringMail = [this] {
        windows.engine.duringMail = nullptr;
        throw std::runtime_error("mailer gone");
    };
    EXPECT_THROW(Lib_Public::ReportError(5, "First", "Frm_Test:A"), std::runtime_error);

    forget();
    Lib_Public::ReportError(5, "Second", "Frm_Test:B");
    EXPECT_EQ(windows.main.exports.size(), 1u);
    ASSERT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_EQ(windows.engine.mails[0].message, "Err: 5 (Second)  Source:Frm_Test:B:0");
}

TEST_F(ErrorReporter, FrenchMessageBoxOfTheRecordManagerLayer) {
    struct Case {
        int32_t code;
        const char* name;
        const char* source;
        const char* caller;
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {9, " 25", "BTrieve (Source:Lib_Data_BTrieve:BTRieve)", "",
         "N° station hors limite:25\r\nBTrieve (Source:Lib_Data_BTrieve:BTRieve)", "Erreur"},
        {2002, "FRAD055", "Lecture", "Frm_Test:A", "Fichier FRAD055 inconnu\n(Sub: Frm_Test:A)", "Lecture"},
        {2003, "FRAD\t055", "  ", "", "Fichier FRAD 055 non ouvert", "Erreur"},
        {2005, "", "Ouverture", "", "Problème à l'ouverture des fichiers de la base de données", "Ouverture"},
        {1234, "", "Source: au début", "", "Err: 1234 inconnue", "Source: au début"},
        {5, "", "Ignored", "", "Err: 5 inconnue", "Aerolune"},
    };
    for (const Case& c : cases) {
        platform::dialogs::reset();
        platform::dialogs::queueAnswers({"ok"});
        Lib_Public::GestErr(c.code, c.name, c.source, false, c.caller);
        const auto asked = platform::dialogs::asked();
        ASSERT_EQ(asked.size(), 1u) << c.code;
        EXPECT_EQ(asked[0].text, c.text) << c.code;
        EXPECT_EQ(asked[0].title, c.title) << c.code;
    }
    platform::dialogs::reset();
    Lib_Public::GestErr_Fra(9, "25", "x", true, "");
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

namespace {

struct FakeForms : neighbours::FormsServices {
    struct Window {
        std::string tag;
        bool visible;
        std::vector<int16_t> calls;
    };
    std::vector<Window> windows;
    int32_t Count() override { return int32_t(windows.size()); }
    std::string Tag(int32_t i) override { return windows[size_t(i)].tag; }
    void SetTag(int32_t i, const std::string& tag) override { windows[size_t(i)].tag = tag; }
    bool Visible(int32_t i) override { return windows[size_t(i)].visible; }
    void AfficherAuDessus(int32_t i, int16_t mode) override { windows[size_t(i)].calls.push_back(mode); }
};

}  // namespace

TEST(TopmostWindows, StepBackAroundADialogAndOnlyThoseReturn) {
    FakeForms forms;
    forms.windows = {{"1", true, {}}, {"1", false, {}}, {"", true, {}}};
    neighbours::registerForms(&forms);
    Lib_Public::AfficherMessageBoxOuInputBox(-1);
    EXPECT_EQ(forms.windows[0].tag, "-1");
    EXPECT_EQ(forms.windows[0].calls, (std::vector<int16_t>{0}));
    EXPECT_EQ(forms.windows[1].tag, "1");  // hidden: stays topmost
    Lib_Public::AfficherMessageBoxOuInputBox(0);
    EXPECT_EQ(forms.windows[0].tag, "1");
    EXPECT_EQ(forms.windows[0].calls, (std::vector<int16_t>{0, -1}));
    EXPECT_TRUE(forms.windows[1].calls.empty());
    EXPECT_TRUE(forms.windows[2].calls.empty());
    neighbours::registerForms(nullptr);
}
