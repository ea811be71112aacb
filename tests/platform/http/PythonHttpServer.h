// Python's own http.server on 127.0.0.1, serving a folder: a real peer outside the process.
#pragma once

#include <filesystem>
#include <string>

#include <QProcess>

namespace webtest {

class PythonHttpServer {
public:
    explicit PythonHttpServer(const std::filesystem::path& folder);
    ~PythonHttpServer();
    // 0 when the server did not come up.
    int port() const { return port_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    QProcess process_;
    int port_ = 0;
};

}  // namespace webtest
