// The player control's error codes in words, and their framed report in the log.
#include <map>

#include "engine/ErrorTrap.h"
#include "engine/Lib_DirectX.h"
#include "foundation/DailyLog.h"

namespace Lib_DirectX {

namespace {

const std::map<int32_t, const char*>& texts() {
    static const std::map<int32_t, const char*> table = {
        {-1, "The call was made to an invalid player (probably the InitSoundSystem method was not called)"},
        {-2, "Not enough memory"},
        {-3,
         "The value of one of the parameters passed to the method was out of the available range of values"},
        {-5, "The sound card chosen as the output device is not a compatible sound card"},
        {-14, "The control has already been initialized"},
        {-18, "DirectX effects not available"},
        {-19, "The DirectX version is older than version 8"},
        {-20, "The last operation failed because no sound was loaded"},
        {-22, "The sound card chosen as the output device doesn't have a valid driver"},
        {-49, "The component is still not initialized"},
        {-99, "The current product edition cannot create other players"},
        {-100, "An unknown error occurred"},
        {-114, "Player is busy"},
        {-124, "Invalid casting identifier"},
        {-125, "Invalid encode mode"},
        {-130, "Casting connection died"},
        {-132, "Invalid ASIO device"},
        {-139, "Invalid device"},
        {-140, "Cannot create DirectSound buffer"},
        {-141, "Invalid driver type"},
        {-149, "Enumeration of audio renderers failed"},
        {-150, "No audio renderers available"},
        {-154, "Playlist is not set to work in automation mode"},
    };
    return table;
}

// The codes the control words (-90 to -97 it leaves unworded).
bool documentedCode(int32_t code) { return (code <= -1 && code >= -89) || (code <= -98 && code >= -154); }

}  // namespace

std::string djStudioErrorText(int32_t code) {
    if (auto found = texts().find(code); found != texts().end()) return found->second;
    if (documentedCode(code)) return "Audio player control error " + std::to_string(code);
    return std::to_string(code);
}

void AfficherErreurDJStudio(int32_t code, int16_t column2, int16_t column3, const std::string& action,
                            const std::string& callerSub, bool alert) {
    engine::Trap("Lib_DirectX:AfficherErreurDJStudio", [&] {
        if (code >= 0) return;
        const std::string text = "Err: " + djStudioErrorText(code) + " |" + action + " |Sub: " + callerSub;
        Lib_Public::TraceLogEncadre(-1, column2, column3, text, alert ? "+" : "-", alert);
    });
}

}  // namespace Lib_DirectX
