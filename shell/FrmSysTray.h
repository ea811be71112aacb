// The tray's hidden window: its pop-up menu, the list of windows standby hid, and the way back.
#pragma once

#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/ListBox.h"
#include "settings/LoadedForm.h"

class QAction;
class QMenu;

class FrmSysTray : public platform::forms::Form, public settings::LoadedForm<FrmSysTray> {
public:
    FrmSysTray();

    platform::forms::ListBox* ListeFrm = nullptr;  // decimal handles, the main window's first
    QMenu* MnuFlottant = nullptr;
    QAction* MnuAfficher = nullptr;
    QAction* MnuSep01 = nullptr;
    QAction* MnuAbout = nullptr;

    // Pops the menu up where the mouse is.
    void SysTrayMouseEventHandler();
    // Leaves standby: the main window first, then every other window standby hid, each one
    // given the focus; the icon goes.
    void AfficherFeuille();

    // The program's loaded windows.
    static std::vector<platform::forms::Form*> loadedForms();

protected:
    void Form_Unload(int& cancel) override;

private:
    // Shows the window when the list holds its handle, and takes its first entry out.
    void showIfListed(platform::forms::Form& form);
};
