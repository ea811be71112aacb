// The devices page's rows and monitor, laid out on its network tabs.
#include "settings/FrmSetupPeripherique.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

using platform::forms::CheckBox;
using platform::forms::CommandButton;
using platform::forms::TextBox;

namespace {

QTabWidget* tabs(QWidget* parent, const char* first, QWidget*& page) {
    auto* strip = new QTabWidget(parent);
    page = new QWidget(strip);
    strip->addTab(page, QString::fromUtf8(first));
    return strip;
}

}  // namespace

FrmSetupPeripherique::FrmSetupPeripherique() : Form("FrmSetupPeripherique") {
    SetCaption("Options: Périphériques");
    auto* layout = new QVBoxLayout(this);
    QWidget* network = nullptr;
    SftTabsPeripheriques = tabs(this, "Réseau", network);
    layout->addWidget(SftTabsPeripheriques);
    auto* networkLayout = new QVBoxLayout(network);
    QWidget* udp = nullptr;
    SftTabsPeripheriquesReseau = tabs(network, "UDP", udp);
    networkLayout->addWidget(SftTabsPeripheriquesReseau);
    auto* udpLayout = new QVBoxLayout(udp);

    QWidget* reception = nullptr;
    SftTabsPeripheriquesReseauReception = tabs(udp, "Réception", reception);
    udpLayout->addWidget(SftTabsPeripheriquesReseauReception);
    auto* grid = new QGridLayout(reception);
    for (int i = 0; i < kRows; ++i) {
        CheckUDPInActif.push_back(new CheckBox(reception, i));
        TexteUDPIPSource.push_back(new TextBox(reception, i));
        TexteUDPPortSource.push_back(new TextBox(reception, i));
        grid->addWidget(CheckUDPInActif[i], i, 0);
        grid->addWidget(TexteUDPIPSource[i], i, 1);
        grid->addWidget(TexteUDPPortSource[i], i, 2);
    }
    TexteUDPDonneeRecues = new TextBox(reception);
    TexteUDPDonneeRecues->setReadOnly(true);
    grid->addWidget(TexteUDPDonneeRecues, kRows, 0, 1, 3);
    for (int i = 0; i < 2; ++i) {
        TexteComputerNameAdresse.push_back(new TextBox(reception, i));
        TexteComputerNameAdresse[i]->setReadOnly(true);
        grid->addWidget(TexteComputerNameAdresse[i], kRows + 1, i);
    }

    QWidget* emission = nullptr;
    SftTabsPeripheriquesReseauEmission = tabs(udp, "Emission", emission);
    udpLayout->addWidget(SftTabsPeripheriquesReseauEmission);
    auto* out = new QGridLayout(emission);
    for (int i = 0; i < kRows; ++i) {
        CheckUDPOutActif.push_back(new CheckBox(emission, i));
        TexteUDPIPCible.push_back(new TextBox(emission, i));
        TexteUDPPortCible.push_back(new TextBox(emission, i));
        TexteUDPPortBCible.push_back(new TextBox(emission, i));
        TexteUDPDonneeEnvoyees.push_back(new TextBox(emission, i));
        BtnUDPSend.push_back(new CommandButton(emission, i));
        BtnUDPSend[i]->SetCaption("Envoyer");
        out->addWidget(CheckUDPOutActif[i], i, 0);
        out->addWidget(TexteUDPIPCible[i], i, 1);
        out->addWidget(TexteUDPPortCible[i], i, 2);
        out->addWidget(TexteUDPPortBCible[i], i, 3);
        out->addWidget(TexteUDPDonneeEnvoyees[i], i, 4);
        out->addWidget(BtnUDPSend[i], i, 5);
    }

    auto* buttons = new QHBoxLayout;
    CommandSave = new CommandButton(this);
    CommandSave->SetCaption("Enregistrer");
    CommandFermer = new CommandButton(this);
    CommandFermer->SetCaption("Fermer");
    buttons->addWidget(CommandSave);
    buttons->addWidget(CommandFermer);
    layout->addLayout(buttons);
    connectHandlers();
}
