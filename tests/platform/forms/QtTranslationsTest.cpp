// Qt's standard buttons and file dialog in the desktop's language: French on the operators'
// desktops, English under the C locale.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/forms/QtTranslations.h"

using namespace platform::forms;

namespace {

struct Texts {
    std::string yes, no, open, cancel, lookIn;
};

std::string plain(const QString& text) { return QString(text).remove('&').toStdString(); }

// What a box and the open-file dialog show while the translation is installed.
Texts shownWith(QTranslator* translation) {
    if (translation) QCoreApplication::installTranslator(translation);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Texts texts{plain(box.button(QMessageBox::Yes)->text()), plain(box.button(QMessageBox::No)->text()),
                plain(dialog.labelText(QFileDialog::Accept)), plain(dialog.labelText(QFileDialog::Reject)),
                plain(dialog.labelText(QFileDialog::LookIn))};
    if (translation) QCoreApplication::removeTranslator(translation);
    return texts;
}

}  // namespace

TEST(QtTranslations, TheDesktopsLanguageGivesTheButtonsAndTheFileDialogTheirTexts) {
    const struct {
        const char* locale;
        Texts texts;
    } cases[] = {
        {"fr_FR", {"Oui", "Non", "Ouvrir", "Annuler", "Voir dans :"}},
        {"de_DE", {"Ja", "Nein", "Öffnen", "Abbrechen", "Suchen in:"}},
        {"C", {"Yes", "No", "Open", "Cancel", "Look in:"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const auto translation = qtTranslationFor(QLocale(c.locale));
        EXPECT_EQ(translation != nullptr, std::string(c.locale) != "C");
        const Texts shown = shownWith(translation.get());
        EXPECT_EQ(shown.yes, c.texts.yes);
        EXPECT_EQ(shown.no, c.texts.no);
        EXPECT_EQ(shown.open, c.texts.open);
        EXPECT_EQ(shown.cancel, c.texts.cancel);
        EXPECT_EQ(shown.lookIn, c.texts.lookIn);
    }
}
