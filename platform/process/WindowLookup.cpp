// Window titles as local sockets "w-<title digest>-<pid>-<n>" in the runtime folder: one per
// window, so a new copy can publish its title while an old copy still holds the same one.
#include "platform/process/WindowLookup.h"

#include <atomic>
#include <system_error>
#include <vector>

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

#include "platform/process/RuntimeFolder.h"

namespace platform::process {
namespace fs = std::filesystem;
namespace {

const QByteArray quitMessage = "quit\n";

std::string prefixOf(const std::string& title) { return "w-" + nameDigest(title) + "-"; }

// The owner's process id from "w-<digest>-<pid>-<n>".
Pid ownerOf(const std::string& fileName, const std::string& prefix) {
    const std::string rest = fileName.substr(prefix.size());
    try {
        return Pid(std::stol(rest.substr(0, rest.find('-'))));
    } catch (...) {
        return 0;
    }
}

}  // namespace

TitledWindow::TitledWindow(const std::string& title, std::function<void()> onQuit)
    : server_(std::make_unique<QLocalServer>()), onQuit_(std::move(onQuit)) {
    const fs::path folder = runtimeFolder();
    if (folder.empty()) return;
    static std::atomic<unsigned> counter{0};
    const fs::path endpoint =
        folder / (prefixOf(title) + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    const QString name = QString::fromStdString(endpoint.string());
    QLocalServer::removeServer(name);  // a file left by a dead process of the same id
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;
    QLocalServer* server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains(quitMessage) && onQuit_) onQuit_();
            });
        }
    });
}

TitledWindow::~TitledWindow() {
    if (server_) server_->close();
}

bool TitledWindow::isListening() const { return server_ && server_->isListening(); }

std::optional<FoundWindow> findWindow(const std::string& title) {
    const fs::path folder = runtimeFolder();
    if (folder.empty()) return std::nullopt;
    const std::string prefix = prefixOf(title);
    const Pid self = ::getpid();
    std::vector<fs::path> candidates;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(prefix)) candidates.push_back(it->path());
    }
    for (const fs::path& endpoint : candidates) {
        const Pid owner = ownerOf(endpoint.filename().string(), prefix);
        if (owner <= 0 || owner == self) continue;
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(endpoint.string()));
        if (socket.waitForConnected(1000)) {
            socket.disconnectFromServer();
            return FoundWindow{owner, owner, endpoint.string()};
        }
        if (exitCode(owner) != StillActive) fs::remove(endpoint, ec);  // its owner died
    }
    return std::nullopt;
}

bool postQuit(const FoundWindow& window) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(window.endpoint));
    if (!socket.waitForConnected(1000)) return false;
    socket.write(quitMessage);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
    return sent;
}

}  // namespace platform::process
