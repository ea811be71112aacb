// Stub program: with AL3_STUB_RECORD set it appends "<pid>\t<arg>\t<arg>..." to "<itself>.starts",
// then --exit=N exits with N, --sleep-ms=N sleeps, --title=T holds a window title until asked to quit,
// --mutex=M says whether M existed; otherwise it sleeps for 90 seconds (the main program's stand-in), deaf to
// SIGTERM after --ignore-term.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QTimer>

#include <unistd.h>

#include "platform/NumericLocale.h"
#include "platform/process/NamedMutex.h"
#include "platform/process/WindowLookup.h"

namespace {

void recordStart(int argc, char** argv) {
    if (!std::getenv("AL3_STUB_RECORD")) return;
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return;
    std::string line = std::to_string(::getpid());
    for (int i = 1; i < argc; ++i) line += std::string("\t") + argv[i];
    std::ofstream(std::string(self, size_t(n)) + ".starts", std::ios::app) << line << "\n";
}

std::string valueOf(const std::string& arg, const std::string& option) {
    return arg.rfind(option, 0) == 0 ? arg.substr(option.size()) : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    recordStart(argc, argv);
    QCoreApplication app(argc, argv);
    platform::keepNumbersInC();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ignore-term") std::signal(SIGTERM, SIG_IGN);
        if (const std::string code = valueOf(arg, "--exit="); !code.empty()) return std::atoi(code.c_str());
        if (const std::string ms = valueOf(arg, "--sleep-ms="); !ms.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(ms.c_str())));
            return 0;
        }
        if (const std::string title = valueOf(arg, "--title="); !title.empty()) {
            platform::process::TitledWindow window(title, [] { QCoreApplication::exit(0); });
            std::printf("%s\n", window.isListening() ? "listening" : "not listening");
            std::fflush(stdout);
            QTimer::singleShot(std::chrono::seconds(90), [] { QCoreApplication::exit(3); });
            return app.exec();
        }
        if (const std::string name = valueOf(arg, "--mutex="); !name.empty()) {
            platform::process::NamedMutex mutex(name);
            std::printf("%s\n", mutex.alreadyExisted() ? "existed" : "new");
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::seconds(90));
            return 0;
        }
    }
    std::this_thread::sleep_for(std::chrono::seconds(90));
    return 0;
}
