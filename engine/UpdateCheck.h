// The engine window's update check: the maker's version service asked over clHttp, the verdict
// shown in the task dialog; and the answer handlers of the other request controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/TaskDialog.h"
#include "platform/http/Http.h"

namespace engine {

inline const std::string kVersionServicePath = "/IAL/DROITS/radio.php";
inline const std::string kApplicationKey = "RLT34-7F3A-9C2E-54B1-4D8E-A6F09B2C";
inline const std::string kVersionReplyFile = "C:\\AL3_Relaytone_GetByIdLocal.xml";
inline constexpr int64_t kReplyWaitMs = 60000;

// The maker's version service: "http://" and its host; AL3_VERSION_SERVICE replaces it (tests
// point it at a loopback server).
std::string versionServiceAddress();

// The latest version read from a saved answer, or why none can be read.
struct VersionAnswer {
    bool ok = false;
    std::string version;
    std::string reason;
};
// The text of "Lib1" in the first "item" of "items". Fails on a missing file, an HTML page, a
// text that is not XML, an "error" element anywhere, or an answer that names no version.
VersionAnswer readVersionReply(const std::string& answerFile);

class UpdateCheckHost {
public:
    explicit UpdateCheckHost(TaskDialogControl& taskDialog);
    virtual ~UpdateCheckHost() = default;

    platform::http::Http clHttp;
    platform::http::Http clHttpRK;
    platform::http::Http clHttpBWBroadcast;

    bool HttpRequeteEnCours = false;  // set by each check, never cleared
    bool HttpReponseRecue = false;
    bool HttpReponseOK = false;
    std::string HttpMessageErreur;
    bool HttpRKRequeteEnCours = false;  // nothing in this program sets it
    bool HttpRKReponseRecue = false;
    bool HttpRKReponseOK = false;
    std::string HttpRKMessageErreur;

    // Asks the service and shows the verdict, or what went wrong; runs until the box is closed.
    // A check asked while one runs (the menu chosen again during the wait) is refused.
    void Web_VerificationDerniereVersion();

    void clHttp_OnReceiveResponse(const std::vector<std::string>& responseHeader);
    void clHttpRK_OnReceiveResponse(const std::vector<std::string>& responseHeader);
    void clHttpBWBroadcast_OnReceiveResponse(const std::vector<std::string>& responseHeader);

private:
    // How a step of the check ended: a lost connection leaves only the answer file to remove.
    enum class StageEnd { NextStage, ConnectionLost };
    // Runs one step, reporting its failure as the step's own.
    StageEnd runHttpStage(const std::function<void()>& body);
    void awaitReply(int64_t beginning);
    void showVerdict(const std::string& latestVersion, const std::string& current);

    TaskDialogControl& taskDialog_;
    bool checkUnderWay_ = false;
};

}  // namespace engine
