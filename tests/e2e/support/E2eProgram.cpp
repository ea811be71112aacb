// Starts the program with its own C: root, answers and clock; reads its log; talks UDP to it.
#include "tests/e2e/support/E2eProgram.h"

#include <algorithm>
#include <csignal>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QUdpSocket>

#include "tests/support/WindowsFiles.h"

namespace e2e {
namespace fs = std::filesystem;

E2eProgram::E2eProgram(const E2eSite& site, ProgramOptions options)
    : site_(site), errorFile_(options.errorFile) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", options.onDesktop ? "xcb" : "offscreen");
    env.insert("AL3_DRIVE_C", QString::fromStdString(site.root().string()));
    if (!options.answers.empty())
        env.insert("AL3_ANSWERS", QString::fromStdString(options.answers));
    else
        env.remove("AL3_ANSWERS");
    if (!options.clock.empty())
        env.insert("AL3_CLOCK", QString::fromStdString(options.clock));
    else
        env.remove("AL3_CLOCK");
    if (!options.locale.empty()) useDesktopLocale(env, options.locale);
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(QString::fromStdString(site.programFolder().string()));
    QStringList arguments;
    for (const auto& a : options.arguments) arguments << QString::fromStdString(a);
    if (!errorFile_.empty()) {
        process_.setStandardErrorFile(QString::fromStdString(errorFile_.string()));
        process_.setStandardOutputFile(QProcess::nullDevice());
    }
    if (options.termAtStart)
        process_.setChildProcessModifier([] {
            sigset_t term;
            sigemptyset(&term);
            sigaddset(&term, SIGTERM);
            ::sigprocmask(SIG_BLOCK, &term, nullptr);
        });
    process_.start(QString::fromStdString((site.programFolder() / "AL3_Relaytone").string()), arguments);
    process_.waitForStarted(10000);
    if (!errorFile_.empty()) {
        process_.setStandardErrorFile(QString::fromStdString(errorFile_.string()));
        process_.setStandardOutputFile(QProcess::nullDevice());
    }
    if (options.termAtStart) ::kill(pid_t(process_.processId()), SIGTERM);
}

E2eProgram::~E2eProgram() {
    if (!running()) return;
    ::kill(pid_t(process_.processId()), SIGKILL);
    process_.waitForFinished(5000);
}

std::string E2eProgram::log() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(site_.logFolder(), ec))
        if (entry.path().extension() == ".Log") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string text;
    for (const auto& file : files) text += support::readWindowsFile(file);
    return text;
}

bool E2eProgram::waitForLog(const std::string& text, std::chrono::milliseconds timeout) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeout.count()) {
        if (log().find(text) != std::string::npos) return true;
        if (!running()) return log().find(text) != std::string::npos;
        process_.waitForFinished(50);
        QCoreApplication::processEvents();
    }
    return false;
}

size_t E2eProgram::logPosition(const std::string& text) const { return log().find(text); }

std::optional<int> E2eProgram::waitForExit(std::chrono::milliseconds timeout) {
    if (running() && !process_.waitForFinished(int(timeout.count()))) return std::nullopt;
    if (process_.exitStatus() != QProcess::NormalExit) return std::nullopt;
    return process_.exitCode();
}

std::optional<int> E2eProgram::terminate(std::chrono::milliseconds timeout) {
    if (running()) ::kill(pid_t(process_.processId()), SIGTERM);
    return waitForExit(timeout);
}

std::string E2eProgram::errorOutput() {
    if (!errorFile_.empty()) return support::readBytes(errorFile_);
    stderr_ += process_.readAllStandardError().toStdString();
    return stderr_;
}

void useDesktopLocale(QProcessEnvironment& env, const std::string& locale) {
    for (const QString& name : env.keys())
        if (name.startsWith("LC_") || name == "LANGUAGE") env.remove(name);
    env.insert("LANG", QString::fromStdString(locale));
}

std::optional<std::string> askTime(uint16_t port, std::chrono::milliseconds timeout) {
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    const std::string query =
        "What time is it ?<Response:127.0.0.1:" + std::to_string(socket.localPort()) + ">";
    socket.writeDatagram(query.data(), qint64(query.size()), QHostAddress::LocalHost, port);
    if (!socket.waitForReadyRead(int(timeout.count()))) return std::nullopt;
    QByteArray reply(int(socket.pendingDatagramSize()), '\0');
    socket.readDatagram(reply.data(), reply.size());
    return reply.toStdString();
}

void sendDatagram(uint16_t port, const std::string& text) {
    QUdpSocket socket;
    socket.writeDatagram(text.data(), qint64(text.size()), QHostAddress::LocalHost, port);
    socket.waitForBytesWritten(1000);
}

}  // namespace e2e
