// AL3_Relaytone_API: shows its window and polls; SIGTERM closes it as a shut-down would.
#include <csignal>

#include <QApplication>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include "batchrunner/Frm_Main_RLT_API.h"
#include "platform/NumericLocale.h"
#include "platform/forms/QtPresenter.h"

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::keepNumbersInC();
    platform::forms::installQtPresenter();

    Frm_Main_RLT_API form;
    form.Ended = [] { QCoreApplication::exit(0); };  // quit() would ask the windows again

    ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe);
    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, [&form] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        form.Unload(platform::forms::vbAppWindows);
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    ::sigaction(SIGTERM, &action, nullptr);

    form.Show();
    return app.exec();
}
