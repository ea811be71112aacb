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

std::optional<std::string> parameterValue(const std::string& lineText, const std::string& parameter,
                                          bool withDots) {
    const auto at = lower(lineText).find(lower(parameter));
    if (at == std::string::npos) return std::nullopt;
    const std::string valueText = trimmed(lineText.substr(at + parameter.size()));
    std::string digitText;
    for (const char c : valueText) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && !(withDots && c == '.')) break;
        digitText += c;
    }
    return digitText;
}

int32_t parameterNumber(const std::string& digitText) {
    int64_t count = 0;
    for (const char c : digitText) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        count = std::min<int64_t>(count * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return int32_t(count);
}

void AnalyseChaineCommand(const std::string& lineText, int16_t basesDuSite) {
    using Lib_Public::TraceLog;
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Command Line: '" + logtext::visible(lineText) + "'", "=", false);

    PbINoInstance = 0;
    auto instance = parameterValue(lineText, "/Instance=");
    if (!instance) {
        QCoreApplication::processEvents();
        instance = parameterValue(lineText, "/I=");
    }
    if (instance) PbINoInstance = int16_t(std::clamp(parameterNumber(*instance), 1, 10));
    TraceLog(-1, -1, -1, "Instance: " + std::to_string(PbINoInstance));

    if (const auto wait = parameterValue(lineText, "/Wait=")) {
        const int32_t duration = parameterNumber(*wait);
        TraceLog(-1, -1, -1, "WaitDuration: " + std::to_string(duration));
        Lib_Systeme::WaitOnDuration(duration);
    }

    if (const auto ip = parameterValue(lineText, "/IP=", true))
        TraceLog(-1, -1, -1, "Target IP Address: " + *ip);

    const auto noBase = parameterValue(lineText, "/NoBase=");
    if (!noBase) return;
    TraceLog(-1, -1, -1, "PbIDefaultNoBase: " + *noBase);
    const int32_t base = parameterNumber(*noBase);
    if (base < basesDuSite) {
        PbIDefaultNoBase = int16_t(base);
        return;
    }
    TraceLog(-1, -1, -1,
             "Warning: PbIDefaultNoBase: " + *noBase + " is not a base of the site (" +
                 std::to_string(basesDuSite) + " bases) |Sub: " + kCaller);
}

int16_t siteBaseCount() {
    const std::string config = Lib_Public::DetermineDossierConfig(1);
    return std::clamp<int16_t>(VBA::ValInt(Lib_Systeme::LectureIni(config, "Site", "NbBase", "1")), 1, 5);
}

}  // namespace shell
