// Writing one log line: stamp, columns, elapsed column, buffers, incidents and the alert mail.
#include "foundation/DailyLog.h"

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLogState.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"

namespace Lib_Public {
namespace {

const std::string kCaller = "Lib_Public:TraceLog";

std::string columnText(int16_t value, bool letters) {
    if (value < 0) return " :";
    if (letters && value >= 10) {
        // 10 is A, 35 is Z; past the last character of the code page there is no letter.
        const int code = 55 + value;
        if (code > 255) return "?:";
        return platform::cp1252::encodeUtf8(
                   std::u32string(1, platform::cp1252::toUnicode(static_cast<unsigned char>(code)))) +
               ":";
    }
    return std::to_string(value) + ":";
}

std::string elapsedColumn() {
    dailylog::State& state = dailylog::state();
    const int64_t now = Lib_Systeme::GetTickCountEx();
    if (state.elapsedBase <= 0) {
        state.elapsedBase = now;
        return "    :";
    }
    const int64_t elapsed = now - state.elapsedBase;
    if (elapsed > 9999) {
        state.elapsedBase = now;
        return "xxxx:";
    }
    if (elapsed > 20) {
        state.elapsedBase = now;
        const std::string figure = "    " + std::to_string(elapsed);
        return figure.substr(figure.size() - 4) + ":";
    }
    return "    :";
}

std::string prefixOf(int16_t column1, int16_t column2, int16_t column3) {
    std::string prefix = Lib_Systeme::TimingMilliSec() + " :";
    if (column2 == -2 && column3 == -2)
        prefix += "Debug:";
    else
        prefix += columnText(column1, false) + columnText(column2, false) + columnText(column3, true);
    return prefix + elapsedColumn();
}

// Blanks at both ends and leading colons, as the incidents list shows a text.
std::string strippedForIncidents(std::string text) {
    for (;;) {
        text = VBA::Trim(text);
        if (!text.starts_with(":")) return text;
        text.erase(0, 1);
    }
}

// A buffer that cannot reach its file keeps its newest lines and says once that it dropped some.
void addBounded(logbuffers::LogList& list, const std::string& line) {
    dailylog::State& state = dailylog::state();
    if (list.add(line) || state.overflowWarned) return;
    state.overflowWarned = true;
    list.add(prefixOf(-1, -1, -1) + "Warning: Log buffer full: oldest lines dropped");
}

void addToBuffer(const std::string& line) {
    logbuffers::LogList& early = logbuffers::earlyBuffer();
    if (!PbBFrmSetupChargee) {
        addBounded(early, line);
        return;
    }
    logbuffers::LogList& file = logbuffers::fileBuffer();
    if (!early.empty()) {
        for (const std::string& waiting : early) addBounded(file, waiting);
        early.clear();
    }
    addBounded(file, line);
}

void showIncident(int16_t column1, const std::string& prefix, std::string& text) {
    neighbours::Frm_MainServices& main = neighbours::Frm_Main();
    int16_t index = column1;
    if (index < 0 || index > main.ListeIncidents_Count() - 1) index = 0;
    if (main.ListeIncidents_ListCount(index) > 1000) main.ListeIncidents_Clear(index);
    text = strippedForIncidents(text);
    main.ListeIncidents_AddItem(
        index, Date2StringEx(platform::clock::now(), "dd/MM") + " " + prefix + text);
    main.CheckIncidents_SetValue(index, 1);
}

bool logFolderKnown() { return !VBA::Trim(PbSDossierLog).empty(); }

}  // namespace

void TraceLog(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
              bool display, int16_t mailCategory, std::string* mailText, bool flush) {
    if (Abandon && !PbBFrmSetupChargee) return;
    if (VBA::Trim(text).empty()) return;

    dailylog::State& state = dailylog::state();
    std::string lineText = text == "*" ? std::string() : text;
    const std::string prefix = lineText.empty() ? std::string() : prefixOf(column1, column2, column3);
    if (!(lineText.empty() && state.blankLine)) addToBuffer(prefix + lineText);
    state.blankLine = lineText.empty();

    if (display || mailCategory >= 0) {
        showIncident(column1, prefix, lineText);
        if (PbBFrmSetupChargee && flush) TraceLogForce(kCaller);
    }
    if (PbBFrmSetupChargee && logFolderKnown() && flush && !logbuffers::fileBuffer().empty())
        TraceLogForce(kCaller);

    std::string localMail;
    std::string& mail = mailText ? *mailText : localMail;
    if (mail.empty()) mail = lineText;
    if (display || (mailCategory != 0 && mailCategory != 1)) return;
    TraceLogForce();
    neighbours::FrmSetupServices& settings = neighbours::FrmSetup();
    if (settings.CheckEmail(mailCategory) != 1) return;
    neighbours::Frm_MainBis().EnvoiMail(false, settings.TexteEmailsAdresses(), mail, "", false);
}

void TraceLogEncadre(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
                     const std::string& frame, bool display) {
    if (text.empty()) return;
    // The rule has as many characters as the text, counted as characters, not bytes.
    const auto length = platform::cp1252::decodeUtf8(text).size();
    const std::string rule =
        frame.empty() ? std::string() : std::string(length, frame[0]);
    TraceLog(column1, column2, column3, rule);
    TraceLog(column1, column2, column3, text, display);
    TraceLog(column1, column2, column3, rule);
}

}  // namespace Lib_Public
