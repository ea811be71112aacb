// The main program's command line: instance, start-up pause, target address, default base.
#include "shell/AnalyseChaineCommand.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include <QCoreApplication>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FamilyConfig.h"
#include "foundation/LogText.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Timing.h"

namespace shell {
namespace {

const char* const kCaller = "Frm_Main:AnalyseChaineCommand";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<std::string> ValeurParametre(const std::string& ligne, const std::string& parametre,
                                           bool avecPoints) {
    const auto at = lower(ligne).find(lower(parametre));
    if (at == std::string::npos) return std::nullopt;
    const std::string valeur = trimmed(ligne.substr(at + parametre.size()));
    std::string chiffres;
    for (const char c : valeur) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && !(avecPoints && c == '.')) break;
        chiffres += c;
    }
    return chiffres;
}

int32_t NombreParametre(const std::string& chiffres) {
    int64_t nombre = 0;
    for (const char c : chiffres) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        nombre = std::min<int64_t>(nombre * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return int32_t(nombre);
}

void AnalyseChaineCommand(const std::string& ligne, int16_t basesDuSite) {
    using Lib_Public::TraceLog;
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Command Line: '" + logtext::visible(ligne) + "'", "=", false);

    PbINoInstance = 0;
    auto instance = ValeurParametre(ligne, "/Instance=");
    if (!instance) {
        QCoreApplication::processEvents();
        instance = ValeurParametre(ligne, "/I=");
    }
    if (instance) PbINoInstance = int16_t(std::clamp(NombreParametre(*instance), 1, 10));
    TraceLog(-1, -1, -1, "Instance: " + std::to_string(PbINoInstance));

    if (const auto wait = ValeurParametre(ligne, "/Wait=")) {
        const int32_t duree = NombreParametre(*wait);
        TraceLog(-1, -1, -1, "WaitDuration: " + std::to_string(duree));
        Lib_Systeme::WaitOnDuration(duree);
    }

    if (const auto ip = ValeurParametre(ligne, "/IP=", true))
        TraceLog(-1, -1, -1, "Target IP Address: " + *ip);

    const auto noBase = ValeurParametre(ligne, "/NoBase=");
    if (!noBase) return;
    TraceLog(-1, -1, -1, "PbIDefaultNoBase: " + *noBase);
    const int32_t base = NombreParametre(*noBase);
    if (base < basesDuSite) {
        PbIDefaultNoBase = int16_t(base);
        return;
    }
    TraceLog(-1, -1, -1,
             "Warning: PbIDefaultNoBase: " + *noBase + " is not a base of the site (" +
                 std::to_string(basesDuSite) + " bases) |Sub: " + kCaller);
}

int16_t NombreDeBasesDuSite() {
    const std::string config = Lib_Public::DetermineDossierConfig(1);
    return std::clamp<int16_t>(VBA::ValInt(Lib_Systeme::LectureIni(config, "Site", "NbBase", "1")), 1, 5);
}

}  // namespace shell
