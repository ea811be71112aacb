// Starts /usr/bin/python3 -m http.server on a port the system chooses and reads that port.
#include "tests/platform/http/PythonHttpServer.h"

#include <QRegularExpression>

#include "tests/platform/http/WaitFor.h"

namespace webtest {

PythonHttpServer::PythonHttpServer(const std::filesystem::path& folder) {
    process_.setProgram("/usr/bin/python3");
    process_.setArguments({"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory",
                           QString::fromStdString(folder.string())});
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start();
    if (!process_.waitForStarted(10000)) return;
    QByteArray output;
    const QRegularExpression served("port (\\d+)");
    waitFor(
        [&] {
            output += process_.readAll();
            const auto match = served.match(QString::fromUtf8(output));
            if (match.hasMatch()) port_ = match.captured(1).toInt();
            return port_ != 0 || process_.state() == QProcess::NotRunning;
        },
        20000);
}

PythonHttpServer::~PythonHttpServer() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished(5000);
}

}  // namespace webtest
