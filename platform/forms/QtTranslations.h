// Qt's own texts (the standard buttons, the file dialog) in the desktop's language.
#pragma once

#include <memory>

#include <QLocale>
#include <QTranslator>

namespace platform::forms {

// Qt's translation for that locale, not yet installed; none for a locale Qt has none for (the
// C locale stays English).
std::unique_ptr<QTranslator> qtTranslationFor(const QLocale& locale);
// Installs the translation for the user's locale for the whole run.
void installQtTranslations();

}  // namespace platform::forms
