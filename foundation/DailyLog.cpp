// Writing one log line: stamp, columns, elapsed column, buffers, incidents and the alert mail.
#include "foundation/DailyLog.h"

#include <algorithm>
#include <charconv>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLogBatch.h"
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

bool blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

void appendColumn(std::string& out, int16_t value, bool letters) {
    if (value < 0) {
        out += " :";
        return;
    }
    if (letters && value >= 10) {
        // 10 is A, 35 is Z; past the last character of the code page there is no letter.
        const int code = 55 + value;
        if (code > 255)
            out += '?';
        else if (code < 0x80)
            out += char(code);
        else
            out += platform::cp1252::encodeUtf8(
                std::u32string(1, platform::cp1252::toUnicode(static_cast<unsigned char>(code))));
        out += ':';
        return;
    }
    char digits[8];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    out += ':';
}

void appendElapsed(std::string& out) {
    dailylog::State& state = dailylog::state();
    const int64_t now = Lib_Systeme::GetTickCountEx();
    if (state.elapsedBase <= 0) {
        state.elapsedBase = now;
        out += "    :";
        return;
    }
    const int64_t elapsed = now - state.elapsedBase;
    if (elapsed > 9999) {
        state.elapsedBase = now;
        out += "xxxx:";
        return;
    }
    if (elapsed > 20) {
        state.elapsedBase = now;
        char digits[8];
        char* end = std::to_chars(digits, digits + sizeof digits, elapsed).ptr;
        out.append(size_t(4 - (end - digits)), ' ');
        out.append(digits, end);
        out += ':';
        return;
    }
    out += "    :";
}

void appendPrefix(std::string& out, int16_t column1, int16_t column2, int16_t column3) {
    out += Lib_Systeme::TimingMilliSec();
    out += " :";
    if (column2 == -2 && column3 == -2) {
        out += "Debug:";
    } else {
        appendColumn(out, column1, false);
        appendColumn(out, column2, false);
        appendColumn(out, column3, true);
    }
    appendElapsed(out);
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
void addBounded(logbuffers::LogList& list, std::string line) {
    dailylog::State& state = dailylog::state();
    if (list.add(std::move(line)) || state.overflowWarned) return;
    state.overflowWarned = true;
    list.add(dailylog::stampedLine("Warning: Log buffer full: oldest lines dropped"));
}

void addToBuffer(std::string line) {
    logbuffers::LogList& early = logbuffers::earlyBuffer();
    if (!PbBFrmSetupChargee) {
        addBounded(early, std::move(line));
        return;
    }
    logbuffers::LogList& file = logbuffers::fileBuffer();
    if (!early.empty()) {
        for (const std::string& waiting : early) addBounded(file, waiting);
        early.clear();
    }
    addBounded(file, std::move(line));
}

void showIncident(int16_t column1, const std::string& prefix, std::string& text) {
    neighbours::Frm_MainServices& main = neighbours::Frm_Main();
    int16_t index = column1;
    if (index < 0 || index > main.ListeIncidents_Count() - 1) index = 0;
    if (main.ListeIncidents_ListCount(index) > 1000) main.ListeIncidents_Clear(index);
    text = strippedForIncidents(text);
    main.ListeIncidents_AddItem(index, Date2StringEx(platform::clock::now(), "dd/MM") + " " + prefix + text);
    main.CheckIncidents_SetValue(index, 1);
}

}  // namespace

void TraceLog(int16_t column1, int16_t column2, int16_t column3, const std::string& text, bool display,
              int16_t mailCategory, std::string* mailText, bool flush) {
    if (Abandon && !PbBFrmSetupChargee) return;
    if (blank(text)) return;

    dailylog::State& state = dailylog::state();
    const bool emptyLine = text == "*";
    const bool incident = display || mailCategory >= 0;
    std::string line;
    if (!emptyLine) {
        line.reserve(32 + text.size());
        appendPrefix(line, column1, column2, column3);
    }
    const std::string prefix = incident ? line : std::string();
    if (!emptyLine) line += text;
    if (!(emptyLine && state.blankLine)) addToBuffer(std::move(line));
    state.blankLine = emptyLine;

    std::string lineText = emptyLine || !(incident || mailText) ? std::string() : text;
    if (incident) {
        showIncident(column1, prefix, lineText);
        if (PbBFrmSetupChargee && flush) dailylog::flushSoon(kCaller);
    }
    if (PbBFrmSetupChargee && !blank(PbSDossierLog) && flush && !logbuffers::fileBuffer().empty())
        dailylog::flushSoon(kCaller);

    if (mailText && mailText->empty()) *mailText = lineText;
    if (display || (mailCategory != 0 && mailCategory != 1)) return;
    dailylog::flushSoon({});
    neighbours::FrmSetupServices& settings = neighbours::FrmSetup();
    if (settings.CheckEmail(mailCategory) != 1) return;
    neighbours::Frm_MainBis().EnvoiMail(false, settings.TexteEmailsAdresses(),
                                        mailText ? *mailText : lineText, "", false);
}

void TraceLogEncadre(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
                     const std::string& frame, bool display) {
    if (text.empty()) return;
    // The rule has as many characters as the text, counted as characters, not bytes.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const auto length = ascii ? text.size() : platform::cp1252::decodeUtf8(text).size();
    const std::string rule = frame.empty() ? std::string() : std::string(length, frame[0]);
    TraceLog(column1, column2, column3, rule);
    TraceLog(column1, column2, column3, text, display);
    TraceLog(column1, column2, column3, rule);
}

}  // namespace Lib_Public

namespace dailylog {

std::string stampedLine(const std::string& text) {
    std::string line;
    Lib_Public::appendPrefix(line, -1, -1, -1);
    return line + text;
}

}  // namespace dailylog
