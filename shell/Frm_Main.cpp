// The main window's design: the tab control with the grid and incidents tabs, the two
// indicators, and what the foundation reaches of this window.
#include "shell/Frm_Main.h"

#include <QFrame>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/forms/Spread.h"
#include "shell/FrmMsg.h"
#include "shell/Lib_Tableur.h"

namespace {
Frm_Main* theWindow = nullptr;
}

Frm_Main* TheFrm_Main() { return theWindow; }

Frm_Main::Frm_Main() : Form("Frm_Main") {
    theWindow = this;
    SftTabsMain = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SftTabsMain);

    fpSpreadGlobal = new platform::forms::Spread(SftTabsMain);
    fpSpreadGlobal->setObjectName("fpSpreadGlobal");
    Lib_Tableur::fpSpreadGlobal = fpSpreadGlobal;
    SftTabsMain->addTab(fpSpreadGlobal, "RLT");
    auto* incidents = new QWidget;
    ListeIncidents.push_back(new platform::forms::ListBox(incidents, 0));
    CommandIncidentsPurge.push_back(new platform::forms::CommandButton(incidents, 0));
    CommandIncidentsPurge[0]->SetCaption("Purger");
    CommandIncidentsPurge[0]->Click = [this] { CommandIncidentsPurge_Click(0); };
    SftTabsMain->addTab(incidents, "Incidents");
    QObject::connect(SftTabsMain, &QTabWidget::currentChanged, this, [this] { SftTabsMain_Switched(); });

    CheckIncidents.push_back(new platform::forms::CheckBox(this, 0));
    CheckIncidents[0]->hide();
    CheckIncidents[0]->Click = [this] { CheckIncidents_Click(0); };
    CheckIncidentsFeuilleNonChargee = new platform::forms::CheckBox(this);
    CheckIncidentsFeuilleNonChargee->hide();

    LabelAffichageMemory = new platform::forms::Label(SftTabsMain);
    LabelAffichageMemory->SetCaption("0000");
    ShapeActivite = new QFrame(SftTabsMain);
    ShapeActivite->setObjectName("ShapeActivite");
    ShapeActivite->setFrameShape(QFrame::Box);
    ShapeActivite->setFixedSize(12, 12);

    createMenus();
    InitDisposition();
    TimerFlash.OnTimer = [this] { TimerFlash_Timer(); };
    TimerVeille.OnTimer = [this] { TimerVeille_Timer(); };

    // Incidents logged before this window existed waited in the foundation's own list.
    auto& avant = neighbours::Frm_Main();
    for (int32_t i = 0; i < avant.ListeIncidents_ListCount(0); ++i)
        ListeIncidents[0]->AddItem(avant.ListeIncidents_List(0, i));
    avant.ListeIncidents_Clear(0);
    neighbours::registerFrm_Main(this);
    neighbours::registerForms(&forms_);
}

Frm_Main::~Frm_Main() {
    neighbours::registerForms(nullptr);
    neighbours::registerFrm_Main(nullptr);
    if (theWindow == this) theWindow = nullptr;
    if (Lib_Tableur::fpSpreadGlobal == fpSpreadGlobal) Lib_Tableur::fpSpreadGlobal = nullptr;
}

int32_t Frm_Main::hWnd() { return int32_t(winId()); }

void Frm_Main::ShapeActivite_SetVisible(bool visible) { ShapeActivite->setVisible(visible); }

int Frm_Main::incidentIndex(int16_t index) const {
    return index >= 0 && index < int(ListeIncidents.size()) ? index : 0;
}

int32_t Frm_Main::ListeIncidents_ListCount(int16_t index) {
    return ListeIncidents[incidentIndex(index)]->ListCount();
}

std::string Frm_Main::ListeIncidents_List(int16_t index, int32_t line) {
    return ListeIncidents[incidentIndex(index)]->List(line);
}

void Frm_Main::ListeIncidents_Clear(int16_t index) { ListeIncidents[incidentIndex(index)]->Clear(); }

void Frm_Main::ListeIncidents_AddItem(int16_t index, const std::string& text) {
    ListeIncidents[incidentIndex(index)]->AddItem(text);
}

void Frm_Main::CheckIncidents_SetValue(int16_t index, int16_t value) {
    CheckIncidents[incidentIndex(index)]->SetValue(value);
}

void Frm_Main::LabelAffichageMemory_SetCaption(const std::string& text) {
    LabelAffichageMemory->SetCaption(text);
}

void Frm_Main::LabelAffichageMemory_SetVisible(bool visible) { LabelAffichageMemory->SetVisible(visible); }

neighbours::FrmMsgServices& Frm_Main::FrmMsg() { return TheFrmMsg(); }
