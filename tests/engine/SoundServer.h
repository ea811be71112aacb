// A private sound server with null sinks for one test, so that Qt reports real output devices.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

class QProcess;

namespace audio_test {

class SoundServer {
public:
    // Starts the server in `folder` with `sinks` null sinks ("AL3_Null_<n>_0", ...) and points
    // this process at it. Not available when the host has no such server, it did not come up, or
    // Qt lists another server's devices.
    SoundServer(const std::filesystem::path& folder, int sinks);
    ~SoundServer();
    bool available() const { return available_; }
    // Why it is not available.
    const std::string& missing() const { return missing_; }

private:
    std::unique_ptr<QProcess> process_;
    bool available_ = false;
    std::string missing_ = "no sound server on this host";
};

}  // namespace audio_test
