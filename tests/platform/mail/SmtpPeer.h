// A real SMTP server on loopback for one test (Debian's aiosmtpd), and what it received.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QJsonObject>
#include <QProcess>

namespace mailtest {

class SmtpPeer {
public:
    // The server accepts a login only with this account and password. A fault "STEP:HOW"
    // makes it slow ("MAIL:3" answers MAIL 3 s late), silent ("DATA:silent" never answers the
    // end of data) or dropped ("greeting:drop") at one step of every exchange: greeting,
    // MAIL, DATA or QUIT.
    SmtpPeer(const std::filesystem::path& folder, const std::string& account, const std::string& password,
             const std::string& fault = "");
    ~SmtpPeer();
    SmtpPeer(const SmtpPeer&) = delete;
    SmtpPeer& operator=(const SmtpPeer&) = delete;

    int port() const { return port_; }
    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }
    // Waits until an exchange has reached the fault's step; false on time-out.
    bool waitForStep(std::chrono::milliseconds timeout);
    // Messages accepted so far, oldest first.
    std::vector<QJsonObject> received() const;
    void stop();

private:
    std::filesystem::path folder_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
    bool stepReached_ = false;
};

// A loopback port on which nothing listens.
int closedPort();

std::vector<std::string> strings(const QJsonValue& array);
std::string text(const QJsonValue& value);
// An attachment's bytes.
std::string bytes(const QJsonObject& attachment);

}  // namespace mailtest
