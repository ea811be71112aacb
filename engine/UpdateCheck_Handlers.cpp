// The answer handlers of the engine window's request controls.
#include "engine/ErrorTrap.h"
#include "engine/UpdateCheck.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"

namespace engine {
namespace {

std::string statusLine(const std::vector<std::string>& header) {
    if (header.empty()) throw std::out_of_range("Subscript out of range");
    return header[0];
}

bool holds(const std::string& line, const std::string& status) {
    return VBA::InStr(1, line, status, true) > 0;
}

}  // namespace

void UpdateCheckHost::clHttp_OnReceiveResponse(const std::vector<std::string>& responseHeader) {
    Trap("Frm_MainBis:clHttp_OnReceiveResponse", [&] {
        if (!HttpRequeteEnCours) return;
        const std::string line = statusLine(responseHeader);
        HttpReponseOK = holds(line, "HTTP/1.1 200 OK");
        if (!HttpReponseOK) HttpMessageErreur = line;
        HttpReponseRecue = true;
    });
}

void UpdateCheckHost::clHttpRK_OnReceiveResponse(const std::vector<std::string>& responseHeader) {
    Trap("Frm_MainBis:clHttpRK_OnReceiveResponse", [&] {
        if (!HttpRKRequeteEnCours) return;
        const std::string line = statusLine(responseHeader);
        HttpRKReponseOK = holds(line, "HTTP/1.1 200 OK") || holds(line, "HTTP/1.1 301 Moved Permanently");
        if (!HttpRKReponseOK) HttpRKMessageErreur = line;
        HttpRKReponseRecue = true;
    });
}

void UpdateCheckHost::clHttpBWBroadcast_OnReceiveResponse(const std::vector<std::string>& responseHeader) {
    Trap("Frm_MainBis:clHttpBWBroadcast_OnReceiveResponse", [&] {
        Lib_Public::TraceLog(
            -1, -1, -1,
            "RDS: BW Broadcast: OnReceiveResponse: " + logtext::visible(statusLine(responseHeader)));
    });
}

}  // namespace engine
