// The settings window: its load in fourteen steps, the save cycle, hiding and the unload question.
#include "settings/FrmSetup.h"

#include <functional>
#include <vector>

#include <QApplication>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QMenuBar>
#include <QVBoxLayout>

#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/SystemQueries.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "platform/ScopedFlag.h"
#include "settings/ErrorTrap.h"
#include "settings/FormPosition.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"
#include "settings/SettingsFlags.h"
#include "settings/SettingsServices.h"

using platform::forms::CommandButton;

namespace {

const std::string kForm = "FrmSetup";
constexpr double kHeightTwips = 10050;

}  // namespace

FrmSetup::FrmSetup() : Form("FrmSetup") {
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    MnuMain = menus->addMenu("Menu");
    MnuMainSave = MnuMain->addAction("Enregistrer");
    MnuMainSep40 = MnuMain->addSeparator();
    MnuMainFermer = MnuMain->addAction("Fermer");
    QObject::connect(MnuMainSave, &QAction::triggered, [this] { MnuMainSave_Click(); });
    QObject::connect(MnuMainFermer, &QAction::triggered, [this] { MnuFermer_Click(); });

    // The pages are windows of their own; these open the two the user edits.
    CommandDevices = new CommandButton(this);
    CommandDevices->SetCaption("Périphériques");
    CommandDevices->Click = [] { FrmSetupPeripherique::get().Show(); };
    CommandMisc = new CommandButton(this);
    CommandMisc->SetCaption("Divers");
    CommandMisc->Click = [] { FrmSetupDivers::get().Show(); };
    layout->addWidget(CommandDevices);
    layout->addWidget(CommandMisc);
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    CommandSave = new CommandButton(this);
    CommandSave->SetCaption("Enregistrer");
    CommandSave->Click = [this] { CommandSave_Click(); };
    CommandFermer = new CommandButton(this);
    CommandFermer->SetCaption("Fermer");
    CommandFermer->Click = [this] { CommandFermer_Click(); };
    buttons->addWidget(CommandSave);
    buttons->addWidget(CommandFermer);
    layout->addLayout(buttons);
}

FrmSetup::~FrmSetup() { settings::unregisterServices(); }

logbuffers::LogList& FrmSetup::ListeLog() { return logbuffers::fileBuffer(); }

void FrmSetup::StartupStep(const std::string& text, bool logged) {
    if (!PbBFrmMsgDemarrage) return;
    neighbours::Frm_Main().FrmMsg().LabelMsgInit_SetCaption(text);
    QCoreApplication::processEvents();
    if (logged) Lib_Public::TraceLog(-1, -1, -1, "----- " + text + " -----");
}

void FrmSetup::Form_Load() {
    const std::string caller = kForm + ":" + "Form_Load";
    settings::registerServices();
    settings::onError(caller, [this] {
        SetCaption("Options: Aerolune: Relaytone - " + Lib_Systeme::VersionApplication());
    });
    const platform::ScopedFlag loading(FrmSetupEnChargement);
    settings::onError(caller, [this] {
        neighbours::Frm_Main().LookFenetre(*this);
        settings::restorePosition(*this);
    });
    struct Step {
        const char* textValue;
        bool logged;
        std::function<void()> action;
    };
    const Step stages[] = {
        {"Skyplate: Setup: Init: General", false, [this] { InitGeneral(); }},
        {"Skyplate: Setup: Init: Settings", false,
         [this, &caller] {
             // The pages load at their first access, in this order, before their boxes are given
             // the stored values.
             FrmSetupSon::get();
             FrmSetupDivers::get();
             InitSettings();
             settings::onError(caller, [] { FrmSetupPeripherique::get(); });
         }},
        {"Skyplate: Setup: Init: SettingsPeripherique", false, [this] { InitSettingsPeripheriques(); }},
        {"Skyplate: Setup: Init: SettingsConvert", false, [this] { InitSettingsConvert(); }},
        {"Skyplate: Setup: Init: RegisterConvert", false, [this] { InitRegisterConvert(); }},
        {"Skyplate: Setup: Init: HostName", true,
         [this, &caller] {
             settings::onError(caller, [this] {
                 auto& page = FrmSetupPeripherique::get();
                 page.TexteComputerNameAdresse[0]->SetText(Lib_Systeme::ComputerName());
                 page.TexteComputerNameAdresse[1]->SetText(Lib_Systeme::GetHostName());
                 repairReceptionAddresses();
             });
         }},
    };
    // Every step lets events run (the sound card's start waits): a close that came meanwhile has
    // already shut the program down, so the load stops there, binding and logging nothing more.
    for (const Step& stage : stages) {
        if (Abandon) break;
        StartupStep(stage.textValue, stage.logged);
        stage.action();
    }
    if (!Abandon) {
        StartupStep("Skyplate: Setup: End", true);
        PbBFrmSetupChargee = true;
    }
}

void FrmSetup::repairReceptionAddresses() {
    auto& page = FrmSetupPeripherique::get();
    const std::string hostName = page.TexteComputerNameAdresse[1]->Text();
    std::vector<platform::forms::TextBox*> toRepair;
    for (auto* box : page.TexteUDPIPSource) {
        const std::string ip = box->Text();
        if (ip.find_first_not_of(' ') == std::string::npos || ip == "0.0.0.0") toRepair.push_back(box);
    }
    // Without a host address, or with the loopback one that a host without network resolves
    // to, a repaired row would look bound and hear nothing, and be stored so at the next save.
    if (hostName.empty() || QHostAddress(QString::fromStdString(hostName)).isLoopback()) {
        if (!toRepair.empty())
            Lib_Public::TraceLog(-1, -1, -1,
                                 "Warning: UDP: No usable host address (" + hostName +
                                     "): receive addresses kept as stored |Sub: " + kForm + ":" +
                                     "Form_Load");
        return;
    }
    for (auto* box : toRepair) box->SetText(hostName);
    page.attachPendingLines();
}

void FrmSetup::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode != platform::forms::vbFormControlMenu) return;
    Hide();
    cancel = 1;
}

void FrmSetup::Form_Resize() {
    if (isMinimized() || isMaximized()) return;
    const int heightValue = platform::forms::pixelsOfTwips(kHeightTwips);
    if (height() != heightValue) resize(width(), heightValue);
}

void FrmSetup::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    settings::onError(kForm + ":" + "Form_Resize", [this] { Form_Resize(); });
}

void FrmSetup::Enregistrer() {
    // The hourglass is the main window's only, so a failure box keeps the normal pointer; it
    // goes whatever way the save ends.
    class Hourglass {
    public:
        Hourglass() : window_(neighbours::Frm_Main().MainWindow()) {
            // Pending events run once, with the hourglass when there is a main window.
            if (window_)
                Lib_Public::SablierOn(*window_);
            else
                QCoreApplication::processEvents();
        }
        ~Hourglass() {
            if (window_) Lib_Public::SablierOff(*window_);
        }

    private:
        platform::Window* window_;
    } busyCursor;
    if (OptionsModifiees) SaveSettings();
    if (OptionsPeripheriquesModifiees) SaveSettingsPeripheriques();
    if (OptionsConvertModifiees) SaveSettingsConvert();
}

void FrmSetup::CommandSave_Click() {
    settings::onError(kForm + ":" + "CommandSave_Click", [this] { Enregistrer(); });
}

void FrmSetup::MnuMainSave_Click() {
    settings::onError(kForm + ":" + "MnuMainSave_Click", [this] { Enregistrer(); });
}

void FrmSetup::CommandFermer_Click() { Hide(); }

void FrmSetup::MnuFermer_Click() { Hide(); }

void FrmSetup::Form_Unload(int& cancel) {
    if (cancel != 0) return;
    settings::onError(kForm + ":" + "Form_Unload", [this] {
        settings::savePosition(*this);
        if (OptionsModifiees || OptionsPeripheriquesModifiees || OptionsConvertModifiees) {
            const bool enregistrer =
                PbBRelanceForcee ||
                platform::dialogs::MsgBox("Voulez-vous enregistrer les options ?",
                                          platform::dialogs::vbYesNo | platform::dialogs::vbQuestion,
                                          Caption(), platform::dialogs::vbNo) == platform::dialogs::vbYes;
            if (enregistrer) Enregistrer();
        }
    });
    OptionsModifiees = false;
    OptionsPeripheriquesModifiees = false;
    OptionsConvertModifiees = false;
    PbBFrmSetupChargee = false;
    settings::unregisterServices();
}

void FrmSetup::reportWriteFailure(const std::string& file, const std::string& procedure) {
    Lib_Public::TraceLog(-1, -1, -1,
                         "Err: Settings: Unable to write: " + file + " |Sub: " + kForm + ":" + procedure);
    if (Visible() || (FrmSetupPeripherique::exists() && FrmSetupPeripherique::get().Visible()))
        platform::dialogs::MsgBox("Impossible d'enregistrer les options dans le fichier:\r\n\r\n" + file,
                                  platform::dialogs::vbOKOnly | platform::dialogs::vbExclamation,
                                  neighbours::Frm_Main().Caption());
}
