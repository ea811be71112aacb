// The settings window's load: both files into the pages, active rows bound, nothing marked.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <QUdpSocket>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "platform/SystemInfo.h"
#include "settings/FormPosition.h"
#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"
#include "settings/SettingsFlags.h"
#include "tests/settings/SettingsSite.h"
#include "tests/support/WindowsFiles.h"

namespace settings_test {
namespace {

using platform::forms::vbChecked;
using platform::forms::vbUnchecked;

bool wait(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

int indexOf(const std::vector<std::string>& lines, const std::string& fragment) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(fragment) != std::string::npos) return int(i);
    return -1;
}

class SettingsLoad : public SettingsSite {};

TEST_F(SettingsLoad, DefaultsWithoutAnyFile) {
    platform::system::setHostIPv4Address("192.0.2.10");
    loadWindows();
    auto& page = FrmSetupPeripherique::get();
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(page.TexteUDPPortSource[r]->Text(), std::to_string(96 + r));
        EXPECT_EQ(page.CheckUDPInActif[r]->Value(), vbUnchecked);
        EXPECT_EQ(page.TexteUDPPortCible[r]->Text(), std::to_string(96 + r));
        EXPECT_EQ(page.TexteUDPIPCible[r]->Text(), "");
        EXPECT_EQ(page.TexteUDPPortBCible[r]->Text(), "");
        EXPECT_EQ(page.CheckUDPOutActif[r]->Caption(), "Station " + std::to_string(r + 1));
        // No stored address: the repair gives the host address.
        EXPECT_EQ(page.TexteUDPIPSource[r]->Text(), "192.0.2.10");
    }
    auto& son = FrmSetupSon::get();
    EXPECT_EQ(son.CheckSoundCard->Value(), vbChecked);
    EXPECT_EQ(son.ComboNatureTrancheOut[0]->ListIndex(), 0);
    // The output was started once; with no sound device (as in the tests) it ends at its box.
    EXPECT_EQ(countLogged(" |ControlVersion: "), 1);
    const auto asked = platform::dialogs::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Aucune carte son trouvée |DirectX OUT");
    EXPECT_TRUE(logged("Pipe Nature: Set to Null"));

    auto& misc = FrmSetupDivers::get();
    ASSERT_EQ(misc.ComboNbJourPoste->ListCount(), 104);
    EXPECT_EQ(misc.ComboNbJourPoste->List(0), " 007 J");
    EXPECT_EQ(misc.ComboNbJourPoste->List(5), " 042 J");
    EXPECT_EQ(misc.ComboNbJourPoste->List(103), " 728 J");
    EXPECT_EQ(misc.ComboNbJourPoste->ListIndex(), 5);
    EXPECT_EQ(misc.TexteEmailsAdresses->Text(), "");
    for (auto* box : misc.CheckEmail) EXPECT_EQ(box->Value(), vbUnchecked);
    for (auto* box : {misc.CheckSMTPS, misc.CheckMiseEnVeille, misc.CheckMemory, misc.CheckLaunch})
        EXPECT_EQ(box->Value(), vbUnchecked);
    EXPECT_FALSE(misc.MemoryTimerActive());

    EXPECT_EQ(son.TexteEffetCutSeuil[0]->Text(), "-50");
    EXPECT_EQ(son.TexteEffetCutSeuil[1]->Text(), "100");
    EXPECT_TRUE(son.OptionEffetTrim[0]->Value());
    EXPECT_TRUE(son.OptionEffetNormalise[0]->Value());
    EXPECT_EQ(son.TexteEffetNormalisationMax->Text(), "8");

    EXPECT_FALSE(OptionsModifiees || OptionsPeripheriquesModifiees || OptionsConvertModifiees);
    EXPECT_TRUE(PbBFrmSetupChargee);
    EXPECT_FALSE(FrmSetupEnChargement);
    EXPECT_FALSE(FrmSetup::get().Visible());
}

TEST_F(SettingsLoad, FixtureFillsThePagesAndBindsTheActiveRowDuringTheLoad) {
    const uint16_t port = freeUdpPort();
    writeProgramSettings(
        "[SoundCard]\nActive=1\n[General_Out]\nPipe_00_Nature=1\n[DirectX_Player_00]\nDevice=0\n"
        "[Email]\nAdresse=a@radio.test;b@radio.test\nSMTPS=1\n"
        "[Emails]\nErr_0=1\nErr_4=1\n"
        "[Windows]\nRebootVeille=1\nMemory=1\nLaunch=1\nNbJoursReboot=103\n");
    writeBaseSettings("[UDP_In_01]\nIP=127.0.0.1\nPort=" + std::to_string(port) + "\nActif=1\n" +
                      "[UDP_In_02]\nIP=127.0.0.1\nPort=6001\nActif=0\n"
                      "[UDP_Out_01]\nIP=10.1.2.3\nPort=5000\nPort2=5001\nActif=1\n"
                      "[Effet_Cut]\nActive=1\nDebut=1\nFin=0\nSeuildB=-40\nSeuilDuree=250\n"
                      "Silence=1\n"
                      "[Effet_Normalisation]\nActive=1\nNature=3\nValeurDesiree=-12\n"
                      "ValeurFixe=6\nValeurMax=10\n");
    PbBFrmMsgDemarrage = true;
    loadWindows();

    auto& page = FrmSetupPeripherique::get();
    EXPECT_EQ(page.TexteUDPIPSource[0]->Text(), "127.0.0.1");
    EXPECT_EQ(page.CheckUDPInActif[0]->Value(), vbChecked);
    EXPECT_FALSE(page.TexteUDPIPSource[0]->Enabled());
    EXPECT_FALSE(page.TexteUDPPortSource[0]->Enabled());
    EXPECT_TRUE(page.TexteUDPPortSource[1]->Enabled());
    EXPECT_EQ(page.TexteUDPIPCible[0]->Text(), "10.1.2.3");
    EXPECT_EQ(page.TexteUDPPortBCible[0]->Text(), "5001");
    EXPECT_EQ(page.CheckUDPOutActif[0]->Value(), vbChecked);

    // Bound before the load's last step.
    const auto lines = logLines();
    const int bound =
        indexOf(lines, "UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + std::to_string(port) + " (Index: 0)");
    ASSERT_GE(bound, 0);
    EXPECT_LT(indexOf(lines, "FrmSetup: Init General: Start"), indexOf(lines, "Sound Folder: "));
    EXPECT_LT(indexOf(lines, "FrmSetup: Init General: End"), indexOf(lines, "Pipe Nature: Set to DirectX"));
    EXPECT_LT(indexOf(lines, "Pipe Nature: Set to DirectX"), bound);
    EXPECT_LT(bound, indexOf(lines, "----- Skyplate: Setup: Init: HostName -----"));
    EXPECT_LT(bound, indexOf(lines, "----- Skyplate: Setup: End -----"));

    // A real datagram reaches the row's receiver and its monitor.
    QUdpSocket peer;
    peer.writeDatagram("Hello from the automation", QHostAddress::LocalHost, port);
    EXPECT_TRUE(wait([&] {
        return page.TexteUDPDonneeRecues->Text().find("Hello from the automation") != std::string::npos;
    }));

    auto& misc = FrmSetupDivers::get();
    EXPECT_EQ(misc.TexteEmailsAdresses->Text(), "a@radio.test;b@radio.test");
    EXPECT_EQ(misc.CheckSMTPS->Value(), vbChecked);
    EXPECT_EQ(misc.CheckEmail[0]->Value(), vbChecked);
    EXPECT_EQ(misc.CheckEmail[1]->Value(), vbUnchecked);
    EXPECT_EQ(misc.CheckEmail[4]->Value(), vbChecked);
    EXPECT_EQ(misc.CheckMiseEnVeille->Value(), vbChecked);
    EXPECT_EQ(misc.CheckLaunch->Value(), vbChecked);
    EXPECT_EQ(misc.ComboNbJourPoste->ListIndex(), 103);
    EXPECT_TRUE(misc.MemoryTimerActive());

    auto& son = FrmSetupSon::get();
    EXPECT_EQ(son.ComboNatureTrancheOut[0]->ListIndex(), 1);
    EXPECT_EQ(son.CheckEffectActif[0]->Value(), vbChecked);
    EXPECT_EQ(son.CheckEffetCutDebut->Value(), vbChecked);
    EXPECT_EQ(son.TexteEffetCutSeuil[0]->Text(), "-40");
    EXPECT_EQ(son.TexteEffetCutSeuil[1]->Text(), "250");
    EXPECT_TRUE(son.OptionEffetTrim[1]->Value());
    EXPECT_TRUE(son.OptionEffetNormalise[3]->Value());
    EXPECT_EQ(son.SliderEffetNormalisation[0]->Value(), -12);
    EXPECT_EQ(son.SliderEffetNormalisation[1]->Value(), 6);
    EXPECT_EQ(son.TexteEffetNormalisationMax->Text(), "10");

    // The handlers ran, yet nothing is marked.
    EXPECT_FALSE(OptionsModifiees || OptionsPeripheriquesModifiees || OptionsConvertModifiees);
}

// The start-up progress window as the load writes its steps into it.
class RecordingProgress : public neighbours::Frm_MainServices {
public:
    class Label : public neighbours::FrmMsgServices {
    public:
        void LabelMsgInit_SetCaption(const std::string& text) override { captions.push_back(text); }
        std::vector<std::string> captions;
    };
    neighbours::FrmMsgServices& FrmMsg() override { return label; }
    Label label;
};

TEST_F(SettingsLoad, TheProgressWindowShowsEachStepInOrder) {
    RecordingProgress main;
    neighbours::registerFrm_Main(&main);
    PbBFrmMsgDemarrage = true;
    loadWindows();
    neighbours::registerFrm_Main(nullptr);
    EXPECT_EQ(main.label.captions,
              (std::vector<std::string>{"Skyplate: Setup: Init: General", "Skyplate: Setup: Init: Settings",
                                        "Skyplate: Setup: Init: SettingsPeripherique",
                                        "Skyplate: Setup: Init: SettingsConvert",
                                        "Skyplate: Setup: Init: RegisterConvert",
                                        "Skyplate: Setup: Init: HostName", "Skyplate: Setup: End"}));
}

TEST_F(SettingsLoad, WithoutTheProgressWindowNoStepLines) {
    RecordingProgress main;
    neighbours::registerFrm_Main(&main);
    loadWindows();
    neighbours::registerFrm_Main(nullptr);
    EXPECT_TRUE(main.label.captions.empty());
    EXPECT_FALSE(logged("----- "));
}

TEST_F(SettingsLoad, StoredValuesTheControlsCannotHoldAreReportedAndTheRestLoads) {
    writeProgramSettings(
        "[SoundCard]\nActive=abc\n[General_Out]\nPipe_00_Nature=1\n"
        "[Email]\nSMTPS=7\nAdresse=ops@radio.test\n"
        "[Windows]\nLaunch=1\nNbJoursReboot=104\n");
    loadWindows();
    auto& son = FrmSetupSon::get();
    // "abc" reads as 0: the card is off and its output keys are not read.
    EXPECT_EQ(son.CheckSoundCard->Value(), vbUnchecked);
    EXPECT_EQ(countLogged(" |ControlVersion: "), 0);
    auto& misc = FrmSetupDivers::get();
    EXPECT_EQ(misc.CheckSMTPS->Value(), vbUnchecked);
    EXPECT_EQ(misc.TexteEmailsAdresses->Text(), "ops@radio.test");
    EXPECT_EQ(misc.CheckLaunch->Value(), vbChecked);
    EXPECT_EQ(misc.ComboNbJourPoste->ListIndex(), -1);
    EXPECT_EQ(countLogged("FrmSetup:InitSettings"), 2);
}

TEST_F(SettingsLoad, SoundEffectValuesWithoutTheirOptionOrOutOfRangeAreReported) {
    writeBaseSettings(
        "[Effet_Cut]\nSilence=2\n"
        "[Effet_Normalisation]\nNature=-1\nValeurDesiree=-41\nValeurFixe=13\n"
        "ValeurMax=9\n");
    loadWindows();
    auto& son = FrmSetupSon::get();
    for (auto* option : son.OptionEffetTrim) EXPECT_FALSE(option->Value());
    for (auto* option : son.OptionEffetNormalise) EXPECT_FALSE(option->Value());
    EXPECT_EQ(son.SliderEffetNormalisation[0]->Value(), 0);  // the design values stay
    EXPECT_EQ(son.SliderEffetNormalisation[1]->Value(), 0);
    EXPECT_EQ(son.TexteEffetNormalisationMax->Text(), "9");  // the load went on
    EXPECT_EQ(countLogged("FrmSetup:InitSettingsConvert"), 4);
    EXPECT_TRUE(logged("Control array element '2' doesn't exist"));
    EXPECT_TRUE(logged("Control array element '-1' doesn't exist"));
    EXPECT_EQ(countLogged("Invalid property value"), 2);

    // The range's own ends are values the sliders take.
    unloadWindows();
    writeBaseSettings("[Effet_Normalisation]\nValeurDesiree=-40\nValeurFixe=12\n");
    loadWindows();
    EXPECT_EQ(FrmSetupSon::get().SliderEffetNormalisation[0]->Value(), -40);
    EXPECT_EQ(FrmSetupSon::get().SliderEffetNormalisation[1]->Value(), 12);
    EXPECT_EQ(countLogged("Invalid property value"), 2);
}

TEST_F(SettingsLoad, AnInstanceReadsItsOwnProgramSettingsFile) {
    PbINoInstance = 3;
    support::writeWindowsFile(drive.host("C:\\Prog\\Settings\\AL3_Relaytone\\AL3_Relaytone_3.Ini"),
                              "[Email]\nAdresse=instance3@radio.test\n");
    writeProgramSettings("[Email]\nAdresse=plain@radio.test\n");
    loadWindows();
    EXPECT_EQ(FrmSetupDivers::get().TexteEmailsAdresses->Text(), "instance3@radio.test");
}

TEST_F(SettingsLoad, RecipientsAreHeldToWhatOneIniReadGivesBack) {
    writeProgramSettings("[Email]\nAdresse=" + std::string(300, 'x') + "\n");
    loadWindows();
    auto& box = *FrmSetupDivers::get().TexteEmailsAdresses;
    EXPECT_EQ(box.Text().size(), 254u);
    box.SetText(std::string(300, 'y'));
    EXPECT_EQ(box.Text(), std::string(254, 'y'));
}

TEST_F(SettingsLoad, AddressRepairGivesBlankAndAnyAddressRowsTheHostAddress) {
    const uint16_t port = freeUdpPort();
    writeBaseSettings("[UDP_In_01]\nIP=\nPort=" + std::to_string(port) + "\nActif=1\n" +
                      "[UDP_In_02]\nIP=0.0.0.0\nPort=6002\nActif=0\n"
                      "[UDP_In_03]\nIP=   \nPort=6003\nActif=0\n");
    loadWindows();
    auto& page = FrmSetupPeripherique::get();
    const std::string host = page.TexteComputerNameAdresse[1]->Text();
    if (host.empty() || host.rfind("127.", 0) == 0) GTEST_SKIP() << "this machine has no usable IPv4 address";
    // Every row, hidden ones included.
    for (auto* box : page.TexteUDPIPSource) EXPECT_EQ(box->Text(), host);
    EXPECT_EQ(countLogged("Err: Unable to Check CheckUDPInActif due to IP source is empty"), 1);
    // The ticked row that had no address is bound once it has one.
    EXPECT_EQ(countLogged("UDP: SocketWrenchUDPIn.Binded to: " + host + ":" + std::to_string(port)), 1);
    EXPECT_FALSE(page.TexteUDPIPSource[0]->Enabled());
    EXPECT_FALSE(OptionsPeripheriquesModifiees);

    // The repaired addresses reach the file with the next save of the rows.
    page.TexteUDPPortCible[2]->SetText("7003");
    FrmSetup::get().SaveSettingsPeripheriques();
    EXPECT_EQ(Lib_Systeme::LectureIni("C:\\Config\\AL3_Relaytone.Ini", "UDP_In_02", "IP", "?"), host);
}

// No address, or the loopback one a host without network resolves to: a repaired row would look
// bound and hear nothing from the automation, and be stored so.
TEST_F(SettingsLoad, WithoutAUsableHostAddressTheStoredAddressesStayAsTheyAre) {
    for (const std::string host : {"", "127.0.1.1", "127.0.0.1"}) {
        SCOPED_TRACE(host);
        platform::system::setHostIPv4Address(host);
        const uint16_t port = freeUdpPort();
        writeBaseSettings(
            "[UDP_In_01]\nIP=0.0.0.0\nPort=6001\nActif=0\n"
            "[UDP_In_02]\nIP=\nPort=" +
            std::to_string(port) +
            "\nActif=1\n"
            "[UDP_In_03]\nIP=127.0.0.1\nPort=6003\nActif=0\n");
        loadWindows();
        auto& page = FrmSetupPeripherique::get();
        EXPECT_EQ(page.TexteComputerNameAdresse[1]->Text(), host);
        EXPECT_EQ(page.TexteUDPIPSource[0]->Text(), "0.0.0.0");
        EXPECT_EQ(page.TexteUDPIPSource[1]->Text(), "");
        EXPECT_EQ(page.TexteUDPIPSource[2]->Text(), "127.0.0.1");
        EXPECT_EQ(page.TexteUDPIPSource[9]->Text(), "");
        EXPECT_EQ(countLogged("Warning: UDP: No usable host address (" + host +
                              "): receive addresses kept as stored |Sub: FrmSetup:Form_Load"),
                  1);
        EXPECT_EQ(countLogged("Binded to"), 0);  // the ticked row without address stays unbound
        EXPECT_TRUE(page.TexteUDPIPSource[1]->Enabled());

        page.TexteUDPPortCible[2]->SetText("7003");
        FrmSetup::get().SaveSettingsPeripheriques();
        for (const auto& [section, stored] : {std::pair{"UDP_In_01", "0.0.0.0"}, std::pair{"UDP_In_02", ""},
                                              std::pair{"UDP_In_03", "127.0.0.1"}})
            EXPECT_EQ(Lib_Systeme::LectureIni("C:\\Config\\AL3_Relaytone.Ini", section, "IP", "?"), stored)
                << section;
        unloadWindows();
    }
}

TEST_F(SettingsLoad, RowsBeyondTheLoadedOnesAreHidden) {
    const struct {
        int16_t lineList;
        int shown;
    } cases[] = {{3, 3}, {1, 1}, {7, 7}, {-2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lineList);
        PbINbLignesUDP = c.lineList;
        PbTBases[0].NbStation = 9;
        loadWindows();
        auto& page = FrmSetupPeripherique::get();
        for (int r = 0; r < 10; ++r) {
            const bool visible = r < c.shown;
            EXPECT_EQ(page.TexteUDPIPSource[r]->Visible(), visible) << r;
            EXPECT_EQ(page.CheckUDPInActif[r]->Visible(), visible) << r;
            EXPECT_EQ(page.CheckUDPOutActif[r]->Visible(), visible) << r;
            EXPECT_EQ(page.BtnUDPSend[r]->Visible(), visible) << r;
        }
        unloadWindows();
    }
}

TEST_F(SettingsLoad, OnlyTheOlderConverterSwitchesTheEffectsOff) {
    const struct {
        const char* installed;
        bool usable;
    } cases[] = {{nullptr, true}, {"CoreConverter.exe", true}, {"MusicConverter.exe", false}};
    const std::string folder = "C:\\Program Files\\Illustrate\\dBpowerAMP\\";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed ? c.installed : "(none)");
        std::filesystem::remove_all(drive.host("C:\\Program Files\\"));
        if (c.installed) support::writeWindowsFile(drive.host(folder + c.installed), "MZ");
        writeBaseSettings("[Effet_Cut]\nActive=1\n[Effet_Normalisation]\nActive=1\n");
        loadWindows();
        auto& son = FrmSetupSon::get();
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(son.CheckEffectActif[i]->Value(), c.usable ? vbChecked : vbUnchecked) << i;
            EXPECT_EQ(son.CheckEffectActif[i]->Enabled(), c.usable) << i;
        }
        EXPECT_EQ(son.MyFrameSon[13]->Enabled(), c.usable);
        EXPECT_EQ(son.MyFrameSon[14]->Enabled(), c.usable);
        // Unticked during the load: the file keeps its value until the group is saved.
        EXPECT_FALSE(OptionsConvertModifiees);
        EXPECT_EQ(Lib_Systeme::LectureIni("C:\\Config\\AL3_Relaytone.Ini", "Effet_Cut", "Active"), "1");
        unloadWindows();
    }
}

TEST_F(SettingsLoad, TheDevicesPageSavesItsRowsOnlyWhenChanged) {
    loadWindows();
    auto& page = FrmSetupPeripherique::get();
    page.CommandSave_Click();
    EXPECT_FALSE(std::filesystem::exists(baseSettings()));
    page.TexteUDPPortBCible[0]->SetText("9001");
    page.CommandSave_Click();
    EXPECT_FALSE(OptionsPeripheriquesModifiees);
    EXPECT_EQ(Lib_Systeme::LectureIni("C:\\Config\\AL3_Relaytone.Ini", "UDP_Out_01", "Port2"), "9001");
    // The program settings file is another group's.
    EXPECT_FALSE(std::filesystem::exists(programSettings()));
}

}  // namespace
}  // namespace settings_test

namespace settings_test {
namespace {

class SettingsPlace : public SettingsSite {};

TEST_F(SettingsPlace, ARestoredPlaceMovesTheWindowAndLeavesTheSizeItHas) {
    support::writeWindowsFile(programSettings().parent_path() / "AL3_Relaytone_Positions.Ini",
                              "[FrmPos]\nFrmSetup_Left=1500\nFrmSetup_Top=3000\n");
    // A window whose layout could shrink it well below the size it was given.
    platform::forms::Form window("FrmSetup");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QTextEdit);
    window.resize(400, 300);
    settings::restorePosition(window);
    window.show();
    EXPECT_EQ(window.pos(), QPoint(100, 200));
    EXPECT_EQ(window.size(), QSize(400, 300));
}

}  // namespace
}  // namespace settings_test
