// The engine window's handlers of the player control's notifications, and the stream status line.
#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "engine/Lib_DirectX.h"
#include "foundation/DailyLog.h"

namespace {

const std::string kForm = "Frm_MainBis";

const char* statusText(int16_t status) {
    switch (status) {
        case 12:
            return "Sound loaded |Sub: ";
        case 13:
            return "Sound playing |Sub: ";
        case 15:
            return "Sound paused |Sub: ";
        case 16:
            return "Sound done |Sub: ";
        case 17:
            return "Stream stopped |Sub: ";
        default:
            return nullptr;  // 11 (closed), 14 and the rest write nothing
    }
}

// SoundClosed, SoundDone and SoundLoaded: only pipe 0 and players 0 to 3 go on.
bool withinBounds(int16_t pipe, int16_t player, const std::string& handler) {
    if (player < 0) return false;
    const std::string sub = " |Sub: " + kForm + ":" + handler;
    if (pipe != 0) {
        Lib_Public::TraceLog(-1, pipe, player, "Err: NoPipe Out of range: " + std::to_string(pipe) + sub);
        return false;
    }
    if (player > 3) {
        Lib_Public::TraceLog(-1, pipe, player, "Err: NoStream Out of range: " + std::to_string(player) + sub);
        return false;
    }
    return true;
}

}  // namespace

void Frm_MainBis::connectPlayerEvents() {
    for (auto& player : Amp3dj1) {
        const int16_t pipe = player.Index();
        player.SoundClosed = [this, pipe](int16_t n) { Amp3dj1_SoundClosed(pipe, n); };
        player.SoundDone = [this, pipe](int16_t n) { Amp3dj1_SoundDone(pipe, n); };
        player.SoundLoaded = [this, pipe](int16_t n, int32_t id) { Amp3dj1_SoundLoaded(pipe, n, id); };
        player.SoundPaused = [this, pipe](int16_t n) { Amp3dj1_SoundPaused(pipe, n); };
        player.SoundPlaying = [this, pipe](int16_t n) { Amp3dj1_SoundPlaying(pipe, n); };
        player.SoundResumed = [this, pipe](int16_t n) { Amp3dj1_SoundResumed(pipe, n); };
        player.TriggerReached = [this, pipe](int16_t n, int32_t id) { Amp3dj1_TriggerReached(pipe, n, id); };
    }
}

void Frm_MainBis::CheckStreamStatus(int16_t NoPipe, int16_t NoStream, int16_t Status,
                                    const std::string& SubAppelant) {
    engine::Trap(kForm + ":CheckStreamStatus", [&] {
        if (const char* textValue = statusText(Status))
            Lib_Public::TraceLog(-1, NoPipe, NoStream, textValue + SubAppelant);
    });
}

void Frm_MainBis::Amp3dj1_SoundClosed(int16_t Index, int16_t NoPlayer) {
    engine::Trap(kForm + ":Amp3dj1_SoundClosed", [&] {
        if (withinBounds(Index, NoPlayer, "Amp3dj1_SoundClosed"))
            CheckStreamStatus(Index, NoPlayer, 11, kForm + ":Amp3dj1_SoundClosed");
    });
}

void Frm_MainBis::Amp3dj1_SoundDone(int16_t Index, int16_t NoPlayer) {
    engine::Trap(kForm + ":Amp3dj1_SoundDone", [&] {
        if (withinBounds(Index, NoPlayer, "Amp3dj1_SoundDone"))
            Lib_DirectX::DirectXOutSoundDone(Index, NoPlayer);
    });
}

void Frm_MainBis::Amp3dj1_SoundLoaded(int16_t Index, int16_t NoPlayer, int32_t) {
    engine::Trap(kForm + ":Amp3dj1_SoundLoaded", [&] {
        if (withinBounds(Index, NoPlayer, "Amp3dj1_SoundLoaded"))
            CheckStreamStatus(Index, NoPlayer, 12, kForm + ":Amp3dj1_SoundLoaded");
    });
}

void Frm_MainBis::Amp3dj1_SoundPaused(int16_t Index, int16_t NoPlayer) {
    engine::Trap(kForm + ":Amp3dj1_SoundPaused", [&] {
        if (NoPlayer >= 0) CheckStreamStatus(Index, NoPlayer, 15, kForm + ":Amp3dj1_SoundPaused");
    });
}

void Frm_MainBis::Amp3dj1_SoundPlaying(int16_t Index, int16_t NoPlayer) {
    engine::Trap(kForm + ":Amp3dj1_SoundPlaying", [&] {
        if (NoPlayer >= 0) CheckStreamStatus(Index, NoPlayer, 13, kForm + ":Amp3dj1_SoundPlaying");
    });
}

// A paused sound that plays again is playing: same line as SoundPlaying.
void Frm_MainBis::Amp3dj1_SoundResumed(int16_t Index, int16_t NoPlayer) {
    engine::Trap(kForm + ":Amp3dj1_SoundResumed", [&] {
        if (NoPlayer >= 0) CheckStreamStatus(Index, NoPlayer, 13, kForm + ":Amp3dj1_SoundPlaying");
    });
}

void Frm_MainBis::Amp3dj1_TriggerReached(int16_t Index, int16_t NoPlayer, int32_t) {
    engine::Trap(kForm + ":Amp3dj1_TriggerReached", [&] {
        if (NoPlayer < 0) return;
        if (Index < 0 || size_t(Index) >= Amp3dj1.size()) return;
        Amp3dj1[size_t(Index)].ClearTrigger(NoPlayer);
    });
}
