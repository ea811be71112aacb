// The private sound server: PulseAudio without its default script, null sinks, one socket.
#include "tests/engine/SoundServer.h"

#include <cstdlib>
#include <thread>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>

namespace audio_test {
namespace fs = std::filesystem;

SoundServer::SoundServer(const fs::path& folder, int sinks) {
    const QString program = QStandardPaths::findExecutable("pulseaudio");
    if (program.isEmpty()) return;
    fs::create_directories(folder / "run");
    const fs::path socket = folder / "native";
    QStringList arguments = {"-n",
                             "--daemonize=no",
                             "--exit-idle-time=-1",
                             "--use-pid-file=no",
                             "--disable-shm=yes",
                             "--log-level=error"};
    // Each server's sinks have names of their own, so that a device list can tell whose it is.
    static int servers = 0;
    const QString prefix = QString("AL3_Null_%1_").arg(++servers);
    for (int i = 0; i < sinks; ++i) {
        arguments << "-L"
                  << QString(
                         "module-null-sink sink_name=al3_null_%1 "
                         "sink_properties=device.description=%2%1")
                         .arg(i)
                         .arg(prefix);
    }
    arguments << "-L"
              << QString("module-native-protocol-unix socket=%1 auth-anonymous=1")
                     .arg(QString::fromStdString(socket.string()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(folder.string()));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString((folder / "run").string()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(folder.string()));
    environment.remove("PULSE_SERVER");
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(program, arguments);
    if (!process_->waitForStarted(5000)) return;
    for (int waited = 0; waited < 5000 && !fs::exists(socket); waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!fs::exists(socket)) return;
    ::setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
    int listed = 0;
    for (const QAudioDevice& device : QMediaDevices::audioOutputs())
        if (device.description().startsWith(prefix)) ++listed;
    available_ = listed >= sinks;
    // Qt Multimedia stays with the sound server this process met first, for the whole run.
    if (!available_)
        missing_ = "Qt Multimedia does not see this server: run the test in a process of its own";
}

SoundServer::~SoundServer() {
    if (!process_ || process_->state() == QProcess::NotRunning) return;
    process_->terminate();
    if (!process_->waitForFinished(3000)) {
        process_->kill();
        process_->waitForFinished(3000);
    }
}

}  // namespace audio_test
