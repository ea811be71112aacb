// The miscellaneous page's controls as designed.
#include "settings/FrmSetupDivers.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

using platform::forms::CheckBox;
using platform::forms::ComboBox;
using platform::forms::CommandButton;
using platform::forms::Label;
using platform::forms::TextBox;
using settings::Frame;

namespace {

CheckBox* checkBox(QWidget* parent, int index, const char* caption) {
    auto* box = new CheckBox(parent, index);
    box->SetCaption(caption);
    return box;
}

// A label naming the box it stands before.
QLabel* caption(QWidget* parent, const QString& text, QWidget* box) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(box);
    return label;
}

}  // namespace

FrmSetupDivers::FrmSetupDivers() : Form("FrmSetupDivers") {
    SetCaption("Options: Divers");
    auto* layout = new QVBoxLayout(this);
    SftTabsDivers = new QTabWidget(this);
    layout->addWidget(SftTabsDivers);

    MyFrameGeneral = new Frame(SftTabsDivers, -1, "");
    SftTabsDivers->addTab(MyFrameGeneral, "Général");
    auto* general = new QVBoxLayout(MyFrameGeneral);
    CheckMiseEnVeille = checkBox(MyFrameGeneral, -1, "Mettre en veille au lancement");
    CheckMemory = checkBox(MyFrameGeneral, -1, "Mesurer la mémoire utilisée");
    CheckLaunch = checkBox(MyFrameGeneral, -1, "Relancer le programme toutes les nuits");
    ComboNbJourPoste = new ComboBox(MyFrameGeneral);
    const QString jours = QString::fromUtf8("Nombre de jours depuis le démarrage du poste");
    ComboNbJourPoste->setToolTip(jours);
    for (QWidget* w : {static_cast<QWidget*>(CheckMiseEnVeille), static_cast<QWidget*>(CheckMemory),
                       static_cast<QWidget*>(CheckLaunch)})
        general->addWidget(w);
    general->addWidget(caption(MyFrameGeneral, jours, ComboNbJourPoste));
    general->addWidget(ComboNbJourPoste);

    MyFrameMail = new Frame(SftTabsDivers, -1, "");
    SftTabsDivers->addTab(MyFrameMail, "Emails");
    auto* mail = new QGridLayout(MyFrameMail);
    Label3 = new Label(MyFrameMail);
    Label3->SetCaption("Emails");
    mail->addWidget(Label3, 0, 0);
    TexteEmailsAdresses = new TextBox(MyFrameMail);
    TexteEmailsAdresses->setMaxLength(kMaxAddressesLength);
    // Room for two addresses of a station's staff, as operators type them.
    TexteEmailsAdresses->setMinimumWidth(TexteEmailsAdresses->fontMetrics().horizontalAdvance(
                                             "exploitation@radio-exemple.fr;technique@radio-exemple.fr") +
                                         12);
    Label3->setBuddy(TexteEmailsAdresses);
    mail->addWidget(TexteEmailsAdresses, 0, 1);
    CommandEmailTest = new CommandButton(MyFrameMail);
    CommandEmailTest->SetCaption("Tester");
    CommandEmailTest->setToolTip(QString::fromUtf8("Tester l'envoi d'un mail à l'expéditeur"));
    mail->addWidget(CommandEmailTest, 0, 2);
    CheckSMTPS = checkBox(MyFrameMail, -1, "SMTPS");
    mail->addWidget(CheckSMTPS, 1, 0);
    // Categories 0 and 1 have no caption in the design: they gate the alert mails a log line may
    // ask for in its category.
    const char* categories[] = {
        "Alertes de catégorie 0", "Alertes de catégorie 1",     "Pas de RDS depuis plus de 10 Min.",
        "Check FRADx55",          "Reboot souhaité (Nb jours)", "Reboot forcé (Nb jours atteint)"};
    for (int i = 0; i < 6; ++i) {
        CheckEmail.push_back(checkBox(MyFrameMail, i, categories[i]));
        mail->addWidget(CheckEmail[i], 2 + i, 0, 1, 3);
    }

    CommandFermer = new CommandButton(this);
    CommandFermer->SetCaption("Fermer");
    layout->addWidget(CommandFermer);

    memoryTimer_.setInterval(5000);
    connectHandlers();
}
