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

QLabel* heading(QWidget* parent, const char* text) { return new QLabel(QString::fromUtf8(text), parent); }

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
    // Headings over the rows' boxes, and labels before the monitor and the host's boxes.
    auto* grid = new QGridLayout(reception);
    grid->addWidget(heading(reception, "Station"), 0, 0);
    grid->addWidget(heading(reception, "Adresse d'écoute"), 0, 1);
    grid->addWidget(heading(reception, "Port"), 0, 2);
    for (int i = 0; i < kRows; ++i) {
        CheckUDPInActif.push_back(new CheckBox(reception, i));
        TexteUDPIPSource.push_back(new TextBox(reception, i));
        TexteUDPPortSource.push_back(new TextBox(reception, i));
        grid->addWidget(CheckUDPInActif[i], 1 + i, 0);
        grid->addWidget(TexteUDPIPSource[i], 1 + i, 1);
        grid->addWidget(TexteUDPPortSource[i], 1 + i, 2);
    }
    TexteUDPDonneeRecues = new TextBox(reception);
    TexteUDPDonneeRecues->setReadOnly(true);
    grid->addWidget(heading(reception, "Données reçues"), kRows + 1, 0);
    grid->addWidget(TexteUDPDonneeRecues, kRows + 1, 1, 1, 2);
    grid->addWidget(heading(reception, "Poste (nom, adresse)"), kRows + 2, 0);
    for (int i = 0; i < 2; ++i) {
        TexteComputerNameAdresse.push_back(new TextBox(reception, i));
        TexteComputerNameAdresse[i]->setReadOnly(true);
        grid->addWidget(TexteComputerNameAdresse[i], kRows + 2, 1 + i);
    }

    QWidget* emission = nullptr;
    SftTabsPeripheriquesReseauEmission = tabs(udp, "Emission", emission);
    udpLayout->addWidget(SftTabsPeripheriquesReseauEmission);
    auto* out = new QGridLayout(emission);
    const char* columns[] = {"Station", "Adresse IP", "Port", "Port 2", "Données envoyées"};
    for (int c = 0; c < 5; ++c) out->addWidget(heading(emission, columns[c]), 0, c);
    for (int i = 0; i < kRows; ++i) {
        CheckUDPOutActif.push_back(new CheckBox(emission, i));
        TexteUDPIPCible.push_back(new TextBox(emission, i));
        TexteUDPPortCible.push_back(new TextBox(emission, i));
        TexteUDPPortBCible.push_back(new TextBox(emission, i));
        TexteUDPDonneeEnvoyees.push_back(new TextBox(emission, i));
        BtnUDPSend.push_back(new CommandButton(emission, i));
        BtnUDPSend[i]->SetCaption("Envoyer");
        out->addWidget(CheckUDPOutActif[i], 1 + i, 0);
        out->addWidget(TexteUDPIPCible[i], 1 + i, 1);
        out->addWidget(TexteUDPPortCible[i], 1 + i, 2);
        out->addWidget(TexteUDPPortBCible[i], 1 + i, 3);
        out->addWidget(TexteUDPDonneeEnvoyees[i], 1 + i, 4);
        out->addWidget(BtnUDPSend[i], 1 + i, 5);
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
