// The audio player control stand-in (one element of a player control array) over Qt Multimedia.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QAudioDevice>

class QAudioSink;
class QIODevice;
class QTimer;

namespace platform::audio {

// The control's result codes (negative = failure); the program's error table words them.
enum Code : int32_t {
    kOk = 0,
    kInvalidPlayer = -1,
    kOutOfRange = -3,
    kAlreadyInitialised = -14,
    kNoValidDriver = -22,
    kNotInitialised = -49,
    kUnknownError = -100,
    kPlayerBusy = -114,
    kInvalidDevice = -139,
    kCannotCreateBuffer = -140,
    kNoRenderers = -150,
};

// The two generations of the entry points that changed with version 5 of the control.
enum class Api { Before5, From5 };

// The operations a test can make fail once (the failures a real device rarely gives).
enum class Operation { InitDJSystem, SetPlayerOutputDevice, SetPlayerVolumeEx, StopSound };

// The output devices Qt reports now, in its order; their descriptions name them.
std::vector<QAudioDevice> outputDevices();

class Amp3dj {
public:
    static constexpr int kMaxPlayers = 4;

    explicit Amp3dj(int16_t index);
    ~Amp3dj();
    Amp3dj(const Amp3dj&) = delete;
    Amp3dj& operator=(const Amp3dj&) = delete;

    int16_t Index() const { return index_; }

    // Output devices: the count takes a fresh look at the host; indexes are 0-based into it.
    int16_t GetOutputDevicesCount();
    std::string GetOutputDeviceDesc(int16_t device);

    // Starts the sound system: each player opens an output on its device. The number of
    // players started, or 0 with the reason in LastError.
    int16_t InitDJSystem(int16_t players, int32_t hWnd, int16_t device0, int16_t device1, int16_t device2,
                         int16_t device3);
    int32_t LastError() const { return lastError_; }
    // Stops every player at once (before the system is ended).
    void CloseAllPlayers();
    // Ends the sound system and frees its outputs; InitDJSystem may start it again. The
    // arguments are those of the start.
    void ReleaseSystem(int16_t players, int32_t hWnd, int16_t& device0, int16_t& device1, int16_t& device2,
                       int16_t& device3);

    std::string GetControlVersion() const;
    std::string GetEngineVersion() const;

    // Moves one player's output to a device.
    int32_t SetPlayerOutputDevice(int16_t player, int16_t device, Api api);
    // Level in dB (scale 1) or as a linear factor 0 to 1 (scale 0); kPlayerBusy while fading.
    int32_t SetPlayerVolumeEx(int16_t player, float level, int16_t scale, Api api);
    // Output buffer of every player, in milliseconds; a length of 0 or less, or above 60 s, keeps
    // the current one.
    void SetBufferLength(double milliseconds);
    // Fade applied when a player is stopped: every player, or one player.
    void SetFadeOutDuration(int32_t milliseconds);
    void SetPlayerFadeOutDuration(int16_t player, int32_t milliseconds);
    // Stops a player's output, fading it out first when a fade is set; 0 also for a player
    // that was not open.
    int32_t StopSound(int16_t player);
    // Acknowledges a trigger point reached by a player.
    int32_t ClearTrigger(int16_t player);

    // Notifications, each with the player number.
    std::function<void(int16_t player, int32_t soundId)> SoundLoaded;
    std::function<void(int16_t player)> SoundPlaying;
    std::function<void(int16_t player)> SoundResumed;
    std::function<void(int16_t player)> SoundPaused;
    std::function<void(int16_t player)> SoundDone;
    std::function<void(int16_t player)> SoundClosed;
    std::function<void(int16_t player, int32_t triggerId)> TriggerReached;

    // State, as the host sees it.
    bool SystemStarted() const { return started_; }
    bool PlayerOpen(int16_t player) const;
    bool PlayerFading(int16_t player) const;
    int16_t PlayerDevice(int16_t player) const;
    float PlayerVolume(int16_t player) const;  // linear factor
    int32_t PlayerFadeOutDuration(int16_t player) const;
    double BufferLength() const { return bufferMs_; }
    Api LastApi() const { return lastApi_; }

    // Test side: the next `times` calls of the operation give `code`.
    void failNext(Operation operation, int32_t code, int times = 1);

private:
    struct Player {
        int16_t device = -1;
        float volume = 1.0f;
        int32_t fadeOutMs = 0;
        std::unique_ptr<QAudioSink> sink;
        QIODevice* feed = nullptr;
        std::unique_ptr<QTimer> fade;
    };

    bool playerValid(int16_t player) const;
    bool deviceValid(int16_t device) const;
    int32_t injected(Operation operation);
    int32_t openPlayer(Player& player, int16_t device);
    void closePlayer(Player& player);
    void startFade(Player& player);
    int32_t fail(int32_t code);

    int16_t index_;
    std::vector<QAudioDevice> devices_;
    std::array<Player, kMaxPlayers> players_;
    int16_t playerCount_ = 0;
    bool started_ = false;
    int32_t lastError_ = kOk;
    double bufferMs_ = 500;
    Api lastApi_ = Api::Before5;
    std::map<Operation, std::pair<int32_t, int>> failures_;
};

}  // namespace platform::audio
