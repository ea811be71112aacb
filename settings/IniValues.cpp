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

std::string readText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback) {
    if (file.empty()) return fallback;
    return Lib_Systeme::LectureIni(file, section, key, fallback);
}

int32_t integerOf(const std::string& text) { return VBA::ValLong(text); }

int32_t readInteger(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& fallback) {
    return integerOf(readText(file, section, key, fallback));
}

int16_t readInteger16(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& fallback) {
    return VBA::ValInt(readText(file, section, key, fallback));
}

void setValue(platform::forms::CheckBox& box, int32_t value, const std::string& caller) {
    if (value < platform::forms::vbUnchecked || value > platform::forms::vbGrayed) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value", caller);
        return;
    }
    box.SetValue(value);
}

void setIndex(platform::forms::ComboBox& list, int32_t index, const std::string& caller) {
    if (index < -1 || index >= list.ListCount()) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value", caller);
        return;
    }
    list.SetListIndex(index);
}

void Writer::operator()(const std::string& section, const std::string& key, const std::string& value) {
    if (file_.empty() || !Lib_Systeme::EcritureIni(file_, section, key, value)) succeeded_ = false;
}

std::string twoDigits(int number) { return Lib_Public::N2S(number + 1, 2, 0, "0"); }

}  // namespace settings
