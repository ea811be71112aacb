// The sound page's controls as designed: output tab and converter tab.
#include "settings/FrmSetupSon.h"

#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

using platform::forms::CheckBox;
using platform::forms::ComboBox;
using platform::forms::CommandButton;
using platform::forms::TextBox;
using settings::Frame;
using settings::OptionButton;
using settings::Slider;

namespace {

QLabel* label(QWidget* parent, const char* text) { return new QLabel(QString::fromUtf8(text), parent); }

}  // namespace

FrmSetupSon::FrmSetupSon() : Form("FrmSetupSon") {
    SetCaption("Options: Son");
    auto* layout = new QVBoxLayout(this);
    SftTabsSon = new QTabWidget(this);
    layout->addWidget(SftTabsSon);
    auto* outputTab = new QWidget(SftTabsSon);
    auto* convert = new QWidget(SftTabsSon);
    SftTabsSon->addTab(outputTab, "Sortie");
    SftTabsSon->addTab(convert, "Convert");
    buildOutputTab(outputTab);
    buildConvertTab(convert);
    CommandFermer = new CommandButton(this);
    CommandFermer->SetCaption("Fermer");
    layout->addWidget(CommandFermer);
    connectHandlers();
}

void FrmSetupSon::buildOutputTab(QWidget* tab) {
    auto* layout = new QVBoxLayout(tab);
    SftTabsSonOut = new QTabWidget(tab);
    layout->addWidget(SftTabsSonOut);
    auto* directX = new QWidget(SftTabsSonOut);
    SftTabsSonOut->addTab(directX, "DirectX");
    auto* panels = new QVBoxLayout(directX);

    MyFrameSon[0] = new Frame(directX, 0, "Sélection");
    auto* selection = new QGridLayout(MyFrameSon[0]);
    CheckSoundCard = new CheckBox(MyFrameSon[0]);
    CheckSoundCard->SetCaption("Carte son active");
    selection->addWidget(CheckSoundCard, 0, 0, 1, 2);
    selection->addWidget(label(MyFrameSon[0], "Nature"), 1, 0);
    ComboNatureTrancheOut.push_back(new ComboBox(MyFrameSon[0], 0));
    ComboNatureTrancheOut[0]->AddItem("________");
    ComboNatureTrancheOut[0]->AddItem("DirectX");
    ComboNatureTrancheOut[0]->AddItem("NP Digigram");
    selection->addWidget(ComboNatureTrancheOut[0], 1, 1);
    panels->addWidget(MyFrameSon[0]);

    MyFrameSon[1] = new Frame(directX, 1, "DirectX");
    auto* device = new QGridLayout(MyFrameSon[1]);
    device->addWidget(label(MyFrameSon[1], "Périphérique"), 0, 0);
    ComboPeripheriqueOut.push_back(new ComboBox(MyFrameSon[1], 0));
    device->addWidget(ComboPeripheriqueOut[0], 0, 1, 1, 2);
    device->addWidget(label(MyFrameSon[1], "Taille du buffer (de 100 à 5000)"), 1, 0);
    TexteTailleBuffer = new TextBox(MyFrameSon[1]);
    TexteTailleBuffer->SetText("500");
    device->addWidget(TexteTailleBuffer, 1, 1);
    device->addWidget(label(MyFrameSon[1], "ms"), 1, 2);
    panels->addWidget(MyFrameSon[1]);

    MyFrameSon[2] = new Frame(directX, 2, "Niveaux");
    auto* levels = new QGridLayout(MyFrameSon[2]);
    levels->addWidget(label(MyFrameSon[2], "Analogique"), 0, 0);
    SliderAnalogLevelOut.push_back(new Slider(MyFrameSon[2], 0, -100, 0, 0));
    levels->addWidget(SliderAnalogLevelOut[0], 0, 1);
    levels->addWidget(label(MyFrameSon[2], "Numérique"), 1, 0);
    SliderDigitalLevelOut.push_back(new Slider(MyFrameSon[2], 0, -110, 18, 0));
    levels->addWidget(SliderDigitalLevelOut[0], 1, 1);
    panels->addWidget(MyFrameSon[2]);
}

void FrmSetupSon::buildConvertTab(QWidget* tab) {
    auto* panels = new QVBoxLayout(tab);

    MyFrameSon[13] = new Frame(tab, 13, "");
    auto* cut = new QGridLayout(MyFrameSon[13]);
    CheckEffectActif.resize(2);
    CheckEffectActif[0] = new CheckBox(MyFrameSon[13], 0);
    CheckEffectActif[0]->SetCaption("Actif");
    cut->addWidget(CheckEffectActif[0], 0, 0);
    CheckEffetCutDebut = new CheckBox(MyFrameSon[13]);
    CheckEffetCutDebut->SetCaption("Couper le silence au début du fichier");
    cut->addWidget(CheckEffetCutDebut, 1, 0, 1, 3);
    CheckEffetCutFin = new CheckBox(MyFrameSon[13]);
    CheckEffetCutFin->SetCaption("Couper le silence à la fin du fichier");
    cut->addWidget(CheckEffetCutFin, 2, 0, 1, 3);
    OptionEffetTrim.push_back(new OptionButton(MyFrameSon[13], 0, "Silence digital"));
    OptionEffetTrim.push_back(new OptionButton(MyFrameSon[13], 1, "Toute valeur en dessous de"));
    cut->addWidget(OptionEffetTrim[0], 3, 0);
    cut->addWidget(OptionEffetTrim[1], 4, 0);
    cut->addWidget(label(MyFrameSon[13], "Seuil de déclenchement"), 4, 1);
    TexteEffetCutSeuil.push_back(new TextBox(MyFrameSon[13], 0));
    cut->addWidget(TexteEffetCutSeuil[0], 4, 2);
    cut->addWidget(label(MyFrameSon[13], "dB"), 4, 3);
    cut->addWidget(label(MyFrameSon[13], "Un silence correspond à:"), 5, 1);
    TexteEffetCutSeuil.push_back(new TextBox(MyFrameSon[13], 1));
    cut->addWidget(TexteEffetCutSeuil[1], 5, 2);
    cut->addWidget(label(MyFrameSon[13], "ms"), 5, 3);
    panels->addWidget(MyFrameSon[13]);

    MyFrameSon[14] = new Frame(tab, 14, "Normalisation");
    auto* norm = new QGridLayout(MyFrameSon[14]);
    CheckEffectActif[1] = new CheckBox(MyFrameSon[14], 1);
    CheckEffectActif[1]->SetCaption("Actif");
    norm->addWidget(CheckEffectActif[1], 0, 0);
    const char* kinds[] = {
        "Recherche de la valeur maximum et cette valeur est remontée à la valeur désirée (en dB)",
        "Calcule le volume moyen et ce calcul est remonté à la valeur désirée (en dB)",
        ("Analyse et correction différenciée sur tout le fichier (remonte les parties calmes comme "
         "un loudness)"),
        "Amplification fixe de -12 dB à + 12 dB"};
    for (int k = 0; k < 4; ++k) {
        OptionEffetNormalise.push_back(new OptionButton(MyFrameSon[14], k, kinds[k]));
        norm->addWidget(OptionEffetNormalise[k], 1 + k, 0, 1, 3);
    }
    norm->addWidget(label(MyFrameSon[14], "Valeur désirée (en dB)"), 5, 0);
    SliderEffetNormalisation.push_back(new Slider(MyFrameSon[14], 0, -40, 0, 0));
    norm->addWidget(SliderEffetNormalisation[0], 5, 1);
    SliderEffetNormalisation.push_back(new Slider(MyFrameSon[14], 1, -12, 12, 0));
    norm->addWidget(SliderEffetNormalisation[1], 6, 1);
    norm->addWidget(label(MyFrameSon[14], "Amplification maximale"), 7, 0);
    TexteEffetNormalisationMax = new TextBox(MyFrameSon[14]);
    norm->addWidget(TexteEffetNormalisationMax, 7, 1);
    panels->addWidget(MyFrameSon[14]);
}
