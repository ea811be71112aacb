// Reading and writing settings values key by key.
#include "settings/IniValues.h"

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/ErrorReporter.h"
#include "foundation/SettingsFiles.h"
#include "platform/VbErrors.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"

namespace settings {

std::string lireTexte(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& defaut) {
    if (file.empty()) return defaut;
    return Lib_Systeme::LectureIni(file, section, key, defaut);
}

int32_t entierDe(const std::string& text) { return VBA::ValLong(text); }

int32_t lireEntier(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& defaut) {
    return entierDe(lireTexte(file, section, key, defaut));
}

int16_t lireEntier16(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaut) {
    return VBA::ValInt(lireTexte(file, section, key, defaut));
}

void poserValeur(platform::forms::CheckBox& box, int32_t value, const std::string& caller) {
    if (value < platform::forms::vbUnchecked || value > platform::forms::vbGrayed) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value",
                                caller);
        return;
    }
    box.SetValue(value);
}

void poserIndex(platform::forms::ComboBox& list, int32_t index, const std::string& caller) {
    if (index < -1 || index >= list.ListCount()) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value",
                                caller);
        return;
    }
    list.SetListIndex(index);
}

void Ecriture::operator()(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (file_.empty() || !Lib_Systeme::EcritureIni(file_, section, key, value)) reussie_ = false;
}

std::string deuxChiffres(int number) { return Lib_Public::N2S(number + 1, 2, 0, "0"); }

}  // namespace settings
