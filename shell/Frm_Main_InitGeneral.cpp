// General initialisation: site, settings window, database files; the per-zone objects and the
// window's placement from the positions file.
#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

#include "btrieve/OpenClose.h"
#include "btrieve/forms/FrmSelectBase.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "foundation/WindowHelpers.h"
#include "settings/FormPosition.h"
#include "settings/FrmSetup.h"
#include "settings/SettingsFlags.h"
#include "shell/FrmMsg.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"

namespace {
const char* const kInitGeneral = "Frm_Main:InitGeneral";
}

void Frm_Main::InitGeneral(bool& abortStartup) {
    using Lib_Public::TraceLog;
    TraceLog(-1, -1, -1, "FrmMain: Init General: Start");
    SetCaption("Aerolune: Relaytone - " + Lib_Systeme::VersionApplication());
    Lib_Look::LookFenetre(*this);

    Lib_Main::AfficherFrmMsg(-1, kInitGeneral);
    PbBFrmMsgDemarrage = true;
    QCoreApplication::processEvents();
    TheFrmMsg().LabelMsgInit_SetCaption("Skyplate: Init: General");
    QCoreApplication::processEvents();

    PbDTimingUECP = platform::clock::now();
    InitGeneralSysteme();

    showStep("Init: InitGeneralSite");
    // On a site of several bases the operator chooses in it, modal over this window.
    FrmSelectBaseDialog::install(this);
    Lib_Site::InitGeneralSite(-1);
    // A close during the site's questions has shut the program down: start-up stops here.
    if (Abandon) return;

    Lib_Main::AfficherFrmMsg(0, kInitGeneral);
    Lib_Main::AfficherFrmMsg(-1, kInitGeneral);
    PbBFrmMsgDemarrage = true;
    QCoreApplication::processEvents();
    showStep("Skyplate: Init: General");

    // A close that came while the steps above let events run has shut the program down.
    if (Abandon) return;
    Lib_Data_BTrieve::GetVersionsMoteur();
    FrmSetup::get().Load();

    for (int i = 0; i < 5; ++i)
        if (PbLInstanceBase[i] == 0) PbLInstanceBase[i] = 1;
    PbINoBase = 0;
    PbINoStation = 1;

    showStep("Skyplate: Open DataBase");
    if (Abandon) return;
    PervasiveOuvertureFichiers(PbINoBase, 1, PbTBases[PbINoBase].NbStation);

    for (int i = 0; i < SftTabsMain->count(); ++i) {
        if (SftTabsMain->tabText(i) != "Incidents") continue;
        SftTabsMain->setTabVisible(i, false);
        break;
    }

    showStep("Skyplate: InitLookTabs");
    Lib_Systeme::VerificationEtCreationRepertoire(PbSDossierApplication + "Local\\AL3_Relaytone\\", true);

    if (!abortStartup) TraceLog(-1, -1, -1, "FrmMain: Init General: End");
    SetCaption(normalCaption());
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Id Radio: " + PbSNomRadio[0], "=", false);
}

void Frm_Main::InitGeneralSysteme() {
    if (VBA::Trim(PbSDossierSettings).empty()) Lib_Public::NomDossierSettings();
}

void Frm_Main::CreationDesObjets() {
    if (PbBQuitter) return;
    QWidget* tabPage = ListeIncidents[0]->parentWidget();
    for (int n = 2; n <= PbINbZones; ++n) {
        ListeIncidents.push_back(new platform::forms::ListBox(tabPage, n - 1));
        ListeIncidents.back()->hide();
        CheckIncidents.push_back(new platform::forms::CheckBox(this, n - 1));
        CheckIncidents.back()->hide();
        CheckIncidents.back()->Click = [this, n] { CheckIncidents_Click(n - 1); };
    }
}

void Frm_Main::windowPlacement() {
    settings::restorePosition(*this);
    const std::string fichier = Lib_Public::NomFichierSettings("_Positions", ".Ini");
    const QScreen* display = QGuiApplication::primaryScreen();
    const double screenWidth = display ? display->geometry().width() * platform::forms::kTwipsPerPixel : 0;
    const double screenHeight = display ? display->geometry().height() * platform::forms::kTwipsPerPixel : 0;
    const auto readSetting = [&](const std::string& keyName, double fallback) {
        return VBA::Val(
            Lib_Systeme::LectureIni(fichier, "FrmPos", Name() + keyName, std::to_string(int(fallback))));
    };
    // A stored size is held to the screen: a "1e30" would make a window no screen shows, and the
    // next save would store it again.
    const QRect zone = display ? display->availableGeometry() : QRect();
    const QSize minimum = minimumSizeHint().expandedTo(QSize(1, 1));
    const auto hold = [](double twips, int minimumPixels, int zonePixels) {
        return std::clamp(twips, double(minimumPixels) * platform::forms::kTwipsPerPixel,
                          double(std::max(minimumPixels, zonePixels)) * platform::forms::kTwipsPerPixel);
    };
    SetWidth(hold(readSetting("_Width", screenWidth), minimum.width(), zone.width()));
    SetHeight(hold(readSetting("_Height", screenHeight), minimum.height(), zone.height()));
    switch (VBA::CInt(readSetting("_WindowState", 2))) {
        case 0:
            setWindowState(Qt::WindowNoState);
            break;
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        default:
            setWindowState(Qt::WindowMaximized);
            break;
    }
}
