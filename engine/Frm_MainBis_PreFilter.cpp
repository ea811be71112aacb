// The automation's text protocol: the time reply, and the pre-filter that feeds the station queues.
#include "engine/Frm_MainBis.h"

#include "engine/ErrorTrap.h"
#include "engine/TimeReply.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"

namespace {

const std::string kForm = "Frm_MainBis";

void Log(const std::string& text) { Lib_Public::TraceLog(-1, -1, -1, text); }

bool Blank(const std::string& text) { return VBA::Trim(text).empty(); }
bool Holds(const std::string& text, const std::string& literal) {
    return VBA::InStr(1, text, literal, true) > 0;
}
bool BeginsWith(const std::string& text, const std::string& literal) {
    return VBA::InStr(1, text, literal, true) == 1;
}

// The "<Response:" value split at its first ":", when that comes at the second character or later.
bool SplitResponse(const std::string& text, std::string& host, std::string& portText) {
    const std::string r = Lib_Public::ExtraireBalise(text, "<Response:", "");
    if (Blank(r)) return false;
    const int32_t colon = VBA::InStr(1, r, ":");
    if (colon < 2) return false;
    host = VBA::Left(r, colon - 1);
    portText = VBA::Mid(r, colon + 1);
    return true;
}

}  // namespace

void Frm_MainBis::DataArrival_WhatTimeIsIt(const std::string& Chaine, const std::string& SubAppelant) {
    const std::string me = kForm + ":" + "DataArrival_WhatTimeIsIt";
    engine::Trap(me, [&] {
        Log("DataArrival_WhatTimeIsIt: Start: " + logtext::visible(Chaine) + " |Sub: " + SubAppelant);
        std::string host, portText;
        if (!SplitResponse(Chaine, host, portText)) {
            Log("DataArrival_WhatTimeIsIt: End");
            return;
        }
        const platform::LocalTimeFields reading = platform::clock::localNow();
        PbTHeureSysteme = reading;  // the log's stamp rewrites it: round our own copy
        const std::string reply = engine::timeReply(reading);
        // A named host is looked up first: the closing lines follow the send, whenever it is.
        SendDataUDPSocketWrenchThen(1, host, VBA::ValLong(portText), reply, -1, [me, reply] {
            engine::Trap(me, [&] {
                Log("DataArrival_WhatTimeIsIt: Data sended: " + reply);
                Log("DataArrival_WhatTimeIsIt: End");
            });
        });
    });
}

void Frm_MainBis::UDPDataArrival_00_Pre(int16_t /*NoBase*/, int16_t /*NoStation*/, std::string Chaine,
                                        const std::string& SubAppelant) {
    const std::string me = SubAppelant + ">" + kForm + ":" + "UDPDataArrival_00_Pre";
    engine::Trap(me, [&] {
        const std::string shown = logtext::visible(Chaine);
        Lib_Public::TraceLogEncadre(-1, -1, -1, "UDP: Data arrival: " + shown + " |Sub: " + SubAppelant, "=",
                                    false);
        if (BeginsWith(Chaine, "Test") || BeginsWith(Chaine, "<Receipt:Ok>") ||
            BeginsWith(Chaine, "Relaytone ?") || Blank(Chaine))
            return;

        std::string host, portText;
        if (SplitResponse(Chaine, host, portText) && !Blank(portText))
            Log("Send: 'Relaytone: Message re\xc3\xa7u' to: " + logtext::visible(host + ":" + portText));

        int64_t station = 1;
        if (Holds(Chaine, "<NoStation:")) {
            const std::string value = Lib_Public::ExtraireBalise(Chaine, "<NoStation:", "");
            station = VBA::CLngLng(VBA::Val(value));
            // A station beyond the queues comes from outside: say so once and drop the text.
            if (station > kStations) {
                Log("Err: UDP: UDPDataArrival_00_Pre: NoStation out of range: " + logtext::visible(value) +
                    " |Sub: " + me);
                return;
            }
        }
        if (station < 1) station = 1;

        if (Holds(Chaine, "<CurrNature:Evt>") && !PbBDemarrageEnCours &&
            (Holds(Chaine, "<CurrLib:Attente") || Holds(Chaine, "<CurrLib:Attendre") ||
             Holds(Chaine, "<CurrLib:Diffusion")))
            Chaine.clear();

        if (Blank(Chaine)) return;
        Log("UDP: Data arrival Bis: " + shown + " |NoStation: " + std::to_string(station));
        Log("UDP: Data arrival: " + shown);
        ListeDataArrival.at(size_t(station - 1)).AddItem(Chaine);
        TimerDataArrival.setEnabled(!PbBDemarrageEnCours);
        Log(std::string("UDP: TimerDataArrival.Enabled : ") +
            (TimerDataArrival.Enabled() ? "True" : "False") + " |Sub: " + me);
    });
}
