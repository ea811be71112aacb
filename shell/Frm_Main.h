// The main window: the start-up object, the visible window with its incidents, and the road out.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/NeighbourServices.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/Timer.h"
#include "platform/process/NamedMutex.h"
#include "platform/process/WindowLookup.h"
#include "shell/LoadedFormsServices.h"
#include "shell/ShellState.h"

class QAction;
class QFrame;
class QMenu;
class QTabWidget;
namespace platform::forms {
class Spread;
}

class Frm_Main : public platform::forms::Form, public neighbours::Frm_MainServices {
public:
    Frm_Main();
    ~Frm_Main() override;

    // Runs once before the window loads.
    void Form_Initialize();

    // The window's controls, named as the rest of the program knows them.
    QTabWidget* SftTabsMain = nullptr;
    platform::forms::Spread* fpSpreadGlobal = nullptr;  // the global workbook grid (Lib_Tableur)
    std::vector<platform::forms::ListBox*> ListeIncidents;
    std::vector<platform::forms::CheckBox*> CheckIncidents;
    std::vector<platform::forms::CommandButton*> CommandIncidentsPurge;
    platform::forms::CheckBox* CheckIncidentsFeuilleNonChargee = nullptr;
    platform::forms::Label* LabelAffichageMemory = nullptr;
    QFrame* ShapeActivite = nullptr;
    platform::forms::Timer TimerFlash{this, "TimerFlash", 100, false};
    platform::forms::Timer TimerVeille{this, "TimerVeille", 100, false};
    bool MiseEnVeilleDemandee = false;

    // The database files of a base (NoFichier -1 closes the whole set).
    void PervasiveOuvertureFichiers(int16_t noBase, int16_t noStationInf, int16_t noStationSup);
    void PervasiveFermetureFichiers(int16_t noBase, int16_t noStationInf, int16_t noStationSup,
                                    int16_t fileNumber);

    // Frm_MainServices: what the foundation and the engine use of this window.
    std::string Caption() override { return Form::Caption(); }
    int32_t hWnd() override;
    platform::Window* MainWindow() override { return this; }
    QWidget* Widget() override { return this; }
    void ShapeActivite_SetVisible(bool visible) override;
    int16_t ListeIncidents_Count() override { return int16_t(ListeIncidents.size()); }
    int32_t ListeIncidents_ListCount(int16_t index) override;
    std::string ListeIncidents_List(int16_t index, int32_t line) override;
    void ListeIncidents_Clear(int16_t index) override;
    void ListeIncidents_AddItem(int16_t index, const std::string& text) override;
    void CheckIncidents_SetValue(int16_t index, int16_t value) override;
    bool fpSpreadGlobal_ExportToExcel(const std::string& workbook, const std::string& sheetName,
                                      const std::string& logFile, int32_t flags) override;
    void LabelAffichageMemory_SetCaption(const std::string& text) override;
    void LabelAffichageMemory_SetVisible(bool visible) override;
    void RelancerApplication(bool modeTest, const std::string& callerSub) override;
    void Quitter(bool force) override;
    neighbours::FrmMsgServices& FrmMsg() override;

    // The alert and its acknowledgement.
    void CheckIncidents_Click(int index);
    void CommandIncidentsPurge_Click(int index);
    void TimerFlash_Timer();
    void TimerVeille_Timer();
    void SftTabsMain_Switched();
    std::string normalCaption() const;

    // The menu bar (Frm_Main_Menus*.cpp): "Fichier" and "?"; MnuWhatNews is one control array.
    QMenu* Mnu01 = nullptr;
    QAction* Mnu01CurrentUser = nullptr;
    QAction* Mnu01User = nullptr;
    QAction* Mnu01Refresh = nullptr;
    QAction* Mnu01Veille = nullptr;
    QAction* Mnu01Options = nullptr;
    QAction* Mnu01Log = nullptr;
    QAction* MnuQuitter = nullptr;
    QMenu* Mnu99 = nullptr;
    std::vector<QAction*> MnuWhatNews;
    QAction* Mnu99APropos = nullptr;
    void Mnu01User_Click();
    void Mnu01Refresh_Click();
    void Mnu01Veille_Click();
    void Mnu01Options_Click();
    void Mnu01Log_Click();
    void MnuQuitter_Click();
    void MnuWhatNews_Click(int index);
    void Mnu99APropos_Click();
    // FrmAbout, loaded at its first showing and kept, shown modeless (the menu and the tray's).
    void showAbout();
    // The components installed by the family's installer, as listed by the "?" menu.
    std::string installedComponentsText();
    // That list in the engine window's task dialog, with one download button per year.
    void installedComponentsList();
    static int componentsCurrentYear();
    // Standby with every window hidden (the tray, or the taskbar where the desktop has no tray).
    void MiseEnVeilleForcee();
    // The start-up's user check, when the site requires a user: false when it refused.
    bool checkUserAtStartup();

    // Layout and keys (Frm_Main_Layout.cpp).
    void Form_Resize();
    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyUp(int keyCode, int shift);
    void LookFenetre(QWidget& window) override;

    // Writes one restart row into the workbook grid.
    void TableurInitDemarrage(int16_t noBase, const std::string& labelText);

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void createMenus();
    // The framed reason of a close that asks nothing, then the log buffer to the day's file.
    void logClosing(int unloadMode);
    // Mnu01User_Click's work; false when the user program could not run (nothing was chosen).
    bool UserChoice();
    void InitDisposition();
    void InitGeneral(bool& abortStartup);
    void InitGeneralSysteme();
    void CreationDesObjets();
    void windowPlacement();
    void showStep(const std::string& textValue);
    void processUnprocessedData(bool& abortStartup);
    int incidentIndex(int16_t index) const;
    void setIncidentsTabVisible(bool visible, bool selectFirst);

    bool catalogueInitialise_ = false;
    std::unique_ptr<platform::process::NamedMutex> mutex_;
    std::unique_ptr<platform::process::TitledWindow> title_;
    std::array<bool, 5> openFiles_{};
    // The station range each open base was opened for, so that shut-down closes all of it.
    std::array<std::pair<int16_t, int16_t>, 5> openStations_{};
    bool flashState_ = false;
    LoadedFormsServices forms_;
};

// The one main window of the run; nullptr before it exists.
Frm_Main* TheFrm_Main();
