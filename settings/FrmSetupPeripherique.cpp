// The devices page's reception rows and monitor.
#include "settings/FrmSetupPeripherique.h"

#include <QGridLayout>

using platform::forms::CheckBox;
using platform::forms::TextBox;

FrmSetupPeripherique::FrmSetupPeripherique() : Form("FrmSetupPeripherique") {
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < kRows; ++i) {
        CheckUDPInActif.push_back(new CheckBox(this, i));
        TexteUDPIPSource.push_back(new TextBox(this, i));
        TexteUDPPortSource.push_back(new TextBox(this, i));
        grid->addWidget(CheckUDPInActif[i], i, 0);
        grid->addWidget(TexteUDPIPSource[i], i, 1);
        grid->addWidget(TexteUDPPortSource[i], i, 2);
    }
    TexteUDPDonneeRecues = new TextBox(this);
    TexteUDPDonneeRecues->setReadOnly(true);
    grid->addWidget(TexteUDPDonneeRecues, kRows, 0, 1, 3);
}
