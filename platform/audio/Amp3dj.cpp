// The audio player control over Qt Multimedia: one QAudioSink per open player, fed nothing.
#include "platform/audio/Amp3dj.h"

#include <cmath>

#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QTimer>
#include <QtGlobal>

namespace platform::audio {

namespace {

constexpr int kFadeStepMs = 20;

float linearOf(float level, int16_t scale) {
    if (scale == 1) return std::pow(10.0f, level / 20.0f);
    return level;
}

}  // namespace

std::vector<QAudioDevice> outputDevices() {
    const QList<QAudioDevice> found = QMediaDevices::audioOutputs();
    return {found.begin(), found.end()};
}

Amp3dj::Amp3dj(int16_t index) : index_(index) {}

Amp3dj::~Amp3dj() {
    // A control that outlives the application object (a window kept until exit) cannot reach
    // the sound server any more: its outputs go with the process.
    if (!QCoreApplication::instance()) {
        for (Player& player : players_) {
            (void)player.sink.release();
            (void)player.fade.release();
        }
        return;
    }
    for (Player& player : players_) closePlayer(player);
}

int16_t Amp3dj::GetOutputDevicesCount() {
    devices_ = outputDevices();
    return int16_t(std::min<size_t>(devices_.size(), INT16_MAX));
}

std::string Amp3dj::GetOutputDeviceDesc(int16_t device) {
    if (!deviceValid(device)) return {};
    return devices_[size_t(device)].description().toStdString();
}

bool Amp3dj::deviceValid(int16_t device) const { return device >= 0 && size_t(device) < devices_.size(); }

bool Amp3dj::playerValid(int16_t player) const { return started_ && player >= 0 && player < playerCount_; }

int32_t Amp3dj::fail(int32_t code) {
    lastError_ = code;
    return code;
}

int32_t Amp3dj::injected(Operation operation) {
    auto found = failures_.find(operation);
    if (found == failures_.end()) return kOk;
    const int32_t code = found->second.first;
    if (--found->second.second <= 0) failures_.erase(found);
    return code;
}

void Amp3dj::failNext(Operation operation, int32_t code, int times) {
    if (times > 0) failures_[operation] = {code, times};
}

int16_t Amp3dj::InitDJSystem(int16_t players, int32_t /*hWnd*/, int16_t device0, int16_t device1,
                             int16_t device2, int16_t device3) {
    // A failed start answers 0 and keeps its reason for LastError.
    auto refuse = [this](int32_t code) -> int16_t {
        lastError_ = code;
        return 0;
    };
    if (started_) return refuse(kAlreadyInitialised);
    if (players < 1 || players > kMaxPlayers) return refuse(kOutOfRange);
    if (devices_.empty()) devices_ = outputDevices();
    if (devices_.empty()) return refuse(kNoRenderers);
    if (const int32_t code = injected(Operation::InitDJSystem); code != kOk) return refuse(code);
    const int16_t devices[kMaxPlayers] = {device0, device1, device2, device3};
    for (int i = 0; i < players; ++i) {
        if (!deviceValid(devices[i])) return refuse(kInvalidDevice);
    }
    for (int i = 0; i < players; ++i) {
        if (const int32_t code = openPlayer(players_[size_t(i)], devices[i]); code != kOk) {
            for (Player& player : players_) closePlayer(player);
            return refuse(code);
        }
    }
    playerCount_ = players;
    started_ = true;
    lastError_ = kOk;
    return players;
}

void Amp3dj::CloseAllPlayers() {
    for (Player& player : players_) closePlayer(player);
}

void Amp3dj::ReleaseSystem(int16_t, int32_t, int16_t&, int16_t&, int16_t&, int16_t&) {
    for (Player& player : players_) {
        closePlayer(player);
        player.device = -1;
    }
    started_ = false;
    playerCount_ = 0;
}

std::string Amp3dj::GetControlVersion() const { return "1.0"; }

std::string Amp3dj::GetEngineVersion() const { return std::string("Qt Multimedia ") + qVersion(); }

int32_t Amp3dj::SetPlayerOutputDevice(int16_t player, int16_t device, Api api) {
    lastApi_ = api;
    if (!playerValid(player)) return fail(kInvalidPlayer);
    if (const int32_t code = injected(Operation::SetPlayerOutputDevice); code != kOk) return fail(code);
    if (!deviceValid(device)) return fail(kInvalidDevice);
    return openPlayer(players_[size_t(player)], device);
}

int32_t Amp3dj::SetPlayerVolumeEx(int16_t player, float level, int16_t scale, Api api) {
    lastApi_ = api;
    if (!playerValid(player)) return fail(kInvalidPlayer);
    if (const int32_t code = injected(Operation::SetPlayerVolumeEx); code != kOk) return fail(code);
    Player& p = players_[size_t(player)];
    if (p.fade) return fail(kPlayerBusy);
    const float linear = linearOf(level, scale);
    if (!(linear >= 0.0f && linear <= 1.0f)) return fail(kOutOfRange);
    p.volume = linear;
    if (p.sink) p.sink->setVolume(linear);
    return kOk;
}

void Amp3dj::SetBufferLength(double milliseconds) {
    // A length the host cannot take keeps the current one; the sound page does not check it.
    if (!(milliseconds > 0) || milliseconds > 60000) return;
    bufferMs_ = milliseconds;
    for (Player& player : players_) {
        if (player.sink && !player.fade) openPlayer(player, player.device);
    }
}

void Amp3dj::SetFadeOutDuration(int32_t milliseconds) {
    for (Player& player : players_) player.fadeOutMs = std::max(0, milliseconds);
}

void Amp3dj::SetPlayerFadeOutDuration(int16_t player, int32_t milliseconds) {
    if (player >= 0 && player < kMaxPlayers) players_[size_t(player)].fadeOutMs = std::max(0, milliseconds);
}

int32_t Amp3dj::StopSound(int16_t player) {
    if (!playerValid(player)) return fail(kInvalidPlayer);
    if (const int32_t code = injected(Operation::StopSound); code != kOk) return fail(code);
    Player& p = players_[size_t(player)];
    if (!p.sink || p.fade) return kOk;
    if (p.fadeOutMs > 0)
        startFade(p);
    else
        closePlayer(p);
    return kOk;
}

int32_t Amp3dj::ClearTrigger(int16_t player) { return playerValid(player) ? kOk : fail(kInvalidPlayer); }

bool Amp3dj::PlayerOpen(int16_t player) const {
    return player >= 0 && player < kMaxPlayers && players_[size_t(player)].sink != nullptr;
}

bool Amp3dj::PlayerFading(int16_t player) const {
    return player >= 0 && player < kMaxPlayers && players_[size_t(player)].fade != nullptr;
}

int16_t Amp3dj::PlayerDevice(int16_t player) const {
    return player >= 0 && player < kMaxPlayers ? players_[size_t(player)].device : -1;
}

float Amp3dj::PlayerVolume(int16_t player) const {
    if (player < 0 || player >= kMaxPlayers) return 0.0f;
    const Player& p = players_[size_t(player)];
    return p.sink ? float(p.sink->volume()) : p.volume;
}

int32_t Amp3dj::PlayerFadeOutDuration(int16_t player) const {
    return player >= 0 && player < kMaxPlayers ? players_[size_t(player)].fadeOutMs : 0;
}

int32_t Amp3dj::openPlayer(Player& player, int16_t device) {
    closePlayer(player);
    const QAudioDevice& target = devices_[size_t(device)];
    const QAudioFormat format = target.preferredFormat();
    if (target.isNull() || !format.isValid()) return kNoValidDriver;
    auto sink = std::make_unique<QAudioSink>(target, format);
    sink->setBufferSize(format.bytesForDuration(qint64(bufferMs_ * 1000)));
    sink->setVolume(player.volume);
    QIODevice* feed = sink->start();
    if (!feed || sink->error() == QAudio::OpenError || sink->error() == QAudio::FatalError)
        return kCannotCreateBuffer;
    player.device = device;
    player.sink = std::move(sink);
    player.feed = feed;
    return kOk;
}

void Amp3dj::closePlayer(Player& player) {
    // The fade's own tick may be what closes the player: its timer goes once that tick is over.
    if (player.fade) {
        player.fade->stop();
        player.fade.release()->deleteLater();
    }
    if (player.sink) player.sink->stop();
    player.sink.reset();
    player.feed = nullptr;
}

void Amp3dj::startFade(Player& player) {
    // The output steps down to silence over the fade, then closes.
    auto timer = std::make_unique<QTimer>();
    const float from = float(player.sink->volume());
    const int steps = std::max(1, player.fadeOutMs / kFadeStepMs);
    auto step = std::make_shared<int>(0);
    QObject::connect(timer.get(), &QTimer::timeout, [this, &player, from, steps, step] {
        if (++*step >= steps) {
            closePlayer(player);
            return;
        }
        player.sink->setVolume(from * float(steps - *step) / float(steps));
    });
    timer->start(kFadeStepMs);
    player.fade = std::move(timer);
}

}  // namespace platform::audio
