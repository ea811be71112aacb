// Xvfb -displayfd gives the display it took; the window manager is up once the root window
// names it and its taskbar has set the work area.
#include "tests/support/Desktop.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char** environ;

namespace support {
namespace {

using namespace std::chrono_literals;

// The child ends with this process, even when the test dies before it can stop it.
pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment,
            int displayPipe) {
    std::vector<char*> argv;
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> environment = extraEnvironment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    if (displayPipe >= 0) ::dup2(displayPipe, 3);
    ::execvpe(argv[0], argv.data(), envp.data());
    ::_exit(127);
}

// Asks it to end, and ends it when it does not within a few seconds.
void stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(50ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

bool rootHas(xcb_connection_t* connection, const char* property) {
    const auto atom = std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)>(
        xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, uint16_t(std::strlen(property)), property), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto value = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_ANY, 0, 1), nullptr),
        &std::free);
    return value && value->type != XCB_ATOM_NONE;
}

}  // namespace

Desktop::Desktop() {
    startServer();
    if (ready()) startManager();
    if (ready()) waitForManager();
}

Desktop::~Desktop() {
    stop(manager_);
    stop(server_);
    std::error_code ignored;
    if (!settings_.empty()) std::filesystem::remove_all(settings_, ignored);
}

void Desktop::startServer() {
    int fds[2];
    if (::pipe(fds) != 0) {
        error_ = "no pipe for the display number";
        return;
    }
    server_ =
        spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, fds[1]);
    ::close(fds[1]);
    if (server_ < 0) {
        ::close(fds[0]);
        error_ = "Xvfb did not start (scripts/setup installs xvfb)";
        return;
    }
    // The server writes the display number once it accepts connections.
    std::string number;
    pollfd readable{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (::poll(&readable, 1, 100) <= 0) continue;
        char chunk[16];
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n <= 0) break;
        number.append(chunk, size_t(n));
    }
    ::close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error_ = "Xvfb gave no display number (scripts/setup installs xvfb)";
        return;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
}

void Desktop::startManager() {
    char folder[] = "/tmp/al3-icewm-XXXXXX";
    if (::mkdtemp(folder)) settings_ = folder;
    manager_ = spawn({"icewm"}, {"DISPLAY=" + display_, "ICEWM_PRIVCFG=" + settings_.string()}, -1);
    if (manager_ < 0) error_ = "icewm did not start (scripts/setup installs icewm)";
}

void Desktop::waitForManager() {
    xcb_connection_t* connection = xcb_connect(display_.c_str(), nullptr);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    bool up = false;
    while (!xcb_connection_has_error(connection) && std::chrono::steady_clock::now() < deadline) {
        if (rootHas(connection, "_NET_SUPPORTING_WM_CHECK") && rootHas(connection, "_NET_WORKAREA")) {
            up = true;
            break;
        }
        if (::waitpid(manager_, nullptr, WNOHANG) == manager_) {
            manager_ = -1;
            break;
        }
        std::this_thread::sleep_for(50ms);
    }
    xcb_disconnect(connection);
    if (!up) error_ = "icewm did not come up on " + display_ + " (scripts/setup installs icewm)";
}

}  // namespace support
