// The about box: its texts, and the system-information program found through the registry.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "shell/FrmAbout.h"
#include "shell/Frm_Main.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"

namespace {

namespace reg = platform::registry;
const uint32_t kHklm = reg::HKEY_LOCAL_MACHINE;
const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

class About : public support::SiteTest {
protected:
    void SetUp() override {
        ::setenv("AL3_STUB_RECORD", "1", 1);
        mainForm.SetCaption("Aerolune: Relaytone - test");
    }
    void TearDown() override {
        for (const auto& start : support::stubStarts(programme())) ::kill(start.pid, SIGKILL);
    }
    void storeValue(const std::string& keyName, const std::string& nameText, uint32_t type,
                    const std::string& data) {
        ASSERT_EQ(reg::createKey(kHklm, keyName), 0);
        ASSERT_EQ(reg::setValue(kHklm, keyName, nameText, type, data), 0);
    }
    std::filesystem::path programme() const { return drive.host("C:\\Tools\\") / "MSINFO32.EXE"; }
    void installProgram() const {
        support::copyProgram(support::stubProgram(), programme().parent_path(), "MSINFO32.EXE");
    }
    bool started() const {
        return support::eventually([&] { return !support::stubStarts(programme()).empty(); },
                                   std::chrono::seconds(5));
    }
    void awaitBoxUnavailable() const {
        const auto messageBoxes = platform::dialogs::asked();
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, "Les informations système ne sont pas disponibles actuellement");
        EXPECT_EQ(messageBoxes[0].title, "Aerolune: Relaytone - test");
    }

    Frm_Main mainForm;
    FrmAbout about;
};

TEST_F(About, ShowsTheVersionAndANoticeEndingThisYear) {
    about.Load();
    const std::string version = about.lblVersion->Caption();
    EXPECT_EQ(version.substr(version.size() - 6), " - Pro");
    const std::string yearNumber = std::to_string(platform::fieldsOf(platform::clock::now()).year);
    const std::string notice = about.lblNotice->Caption();
    EXPECT_EQ(notice.substr(notice.size() - yearNumber.size()), yearNumber);
    EXPECT_EQ(about.cmdSysInfo->Caption(), "&Infos système...");
}

TEST_F(About, StartsTheProgramThatMsinfoPathNames) {
    installProgram();
    storeValue(kMsinfo, "PATH", reg::REG_SZ, "C:\\Tools\\MSINFO32.EXE");
    about.cmdSysInfo->click();
    EXPECT_TRUE(started());
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(About, FallsBackToTheSharedToolsFolderWhenItHoldsTheProgram) {
    storeValue(kLocation, "MSINFO", reg::REG_SZ, "C:\\Tools");
    about.StartSysInfo();
    awaitBoxUnavailable();  // the folder lacks MSINFO32.EXE

    platform::dialogs::reset();
    installProgram();
    about.StartSysInfo();
    EXPECT_TRUE(started());
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(About, APathThatIsNotATextCountsAsFoundButEmpty) {
    storeValue(kMsinfo, "PATH", reg::REG_EXPAND_SZ, "%SystemRoot%\\msinfo32.exe");
    about.StartSysInfo();
    awaitBoxUnavailable();
}

TEST_F(About, NothingInTheRegistrySaysItIsNotAvailable) {
    about.StartSysInfo();
    awaitBoxUnavailable();
}

TEST_F(About, KeyValuesComeBackAsTextOrHexadecimal) {
    storeValue("SOFTWARE\\Test", "Texte", reg::REG_SZ, std::string("C:\\Dossier\0", 11));
    storeValue("SOFTWARE\\Test", "Nombre", reg::REG_DWORD, std::string("\x2A\x03\x02\x01", 4));
    std::string readBack = "ancien";
    EXPECT_TRUE(about.GetKeyValue(kHklm, "SOFTWARE\\Test", "Texte", readBack));
    EXPECT_EQ(readBack, "C:\\Dossier");
    EXPECT_TRUE(about.GetKeyValue(kHklm, "SOFTWARE\\Test", "Nombre", readBack));
    EXPECT_EQ(readBack, "&h0102032A");
    EXPECT_FALSE(about.GetKeyValue(kHklm, "SOFTWARE\\Test", "Absent", readBack));
    EXPECT_EQ(readBack, "");
}

}  // namespace
