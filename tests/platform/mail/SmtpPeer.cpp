// The loopback SMTP server: started on a port the system picks, stopped by its process id.
#include "tests/platform/mail/SmtpPeer.h"

#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpServer>

namespace mailtest {

SmtpPeer::SmtpPeer(const std::filesystem::path& folder, const std::string& account,
                   const std::string& password, const std::string& fault)
    : folder_(folder), process_(std::make_unique<QProcess>()) {
    std::filesystem::create_directories(folder_);
    const QString script = qEnvironmentVariable("AL3_SOURCE_DIR") + "/tests/platform/mail/smtp_server.py";
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's Python holds aiosmtpd, whatever python3 comes first on the PATH.
    process_->start("/usr/bin/python3",
                    {script, QString::fromStdString(folder_.string()), QString::fromStdString(account),
                     QString::fromStdString(password), QString::fromStdString(fault)});
    if (!process_->waitForStarted(10000)) {
        ADD_FAILURE() << "SMTP server did not start";
        return;
    }
    while (!process_->canReadLine() && process_->waitForReadyRead(10000)) {}
    port_ = process_->readLine().trimmed().toInt();
    if (port_ == 0) ADD_FAILURE() << "SMTP server gave no port";
}

SmtpPeer::~SmtpPeer() { stop(); }

bool SmtpPeer::waitForStep(std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout);
    while (!stepReached_) {
        while (process_->canReadLine())
            if (process_->readLine().startsWith("step ")) stepReached_ = true;
        if (stepReached_ || deadline.hasExpired()) break;
        process_->waitForReadyRead(int(std::max<qint64>(1, std::min<qint64>(50, deadline.remainingTime()))));
    }
    return stepReached_;
}

void SmtpPeer::stop() {
    if (process_->state() == QProcess::NotRunning) return;
    process_->closeWriteChannel();  // the server ends when its input closes
    if (!process_->waitForFinished(5000)) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

std::vector<QJsonObject> SmtpPeer::received() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        if (entry.path().extension() == ".json") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<QJsonObject> messages;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        messages.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(json)).object());
    }
    return messages;
}

int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

std::vector<std::string> strings(const QJsonValue& array) {
    std::vector<std::string> out;
    for (const QJsonValue& v : array.toArray()) out.push_back(v.toString().toStdString());
    return out;
}

std::string text(const QJsonValue& value) { return value.toString().toStdString(); }

std::string bytes(const QJsonObject& attachment) {
    return QByteArray::fromBase64(attachment["content"].toString().toLatin1()).toStdString();
}

}  // namespace mailtest
