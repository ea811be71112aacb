// One SMTP exchange over libcurl's easy interface on a worker thread; the calling thread runs
// its events until the worker is done, the bound passes or the program ends.
#include "platform/mail/Smtp.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/UniqueFd.h"

namespace platform::mail {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int32_t kLoginDenied = 535;
constexpr int32_t kTransferFailed = 10000;  // plus libcurl's code, when nothing says more
// How often the wait asks whether it may go on, when nothing else wakes it.
constexpr milliseconds kWaitPass{50};
// At the program's end, how long the workers still on a message get to let it go.
constexpr milliseconds kExitGrace{2000};

std::mutex limitMutex;
std::optional<std::chrono::seconds> scopedLimit;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string hostPart(const std::string& server) {
    const size_t colon = server.rfind(':');
    return colon == std::string::npos ? server : server.substr(0, colon);
}

// Names under "invalid" never exist (RFC 6761): they are refused without a lookup.
bool reservedName(const std::string& server) {
    const std::string host = lower(hostPart(server));
    return host == "invalid" || host.ends_with(".invalid");
}

int replyCode(const std::string& reply) {
    if (reply.size() < 3 || !std::isdigit(uint8_t(reply[0])) || !std::isdigit(uint8_t(reply[1])) ||
        !std::isdigit(uint8_t(reply[2])))
        return 0;
    return (reply[0] - '0') * 100 + (reply[1] - '0') * 10 + (reply[2] - '0');
}

Failure failureOf(CURLcode code, const char* detail, const std::string& lastReply) {
    std::string description = detail[0] ? detail : curl_easy_strerror(code);
    const int reply = replyCode(lastReply);
    if (reply >= 400 && lastReply.find(description) == std::string::npos)
        description += " (" + lastReply + ")";
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return {net::wsaHostNotFound, description};
        case CURLE_COULDNT_CONNECT:
            return {net::wsaConnectionRefused, description};
        case CURLE_OPERATION_TIMEDOUT:
            return {net::wsaTimedOut, description};
        case CURLE_LOGIN_DENIED:
            return {reply >= 400 ? reply : kLoginDenied, description};
        default:
            return {reply >= 400 ? reply : kTransferFailed + int32_t(code), description};
    }
}

// One message on its way: what the worker needs, and what the two threads tell each other.
// Shared, so that a worker the caller has stopped waiting for still finds it.
struct Attempt {
    std::string url, from, user, password, text;
    std::vector<std::string> recipients;
    long limitMs = 0;

    // Worker only.
    size_t sent = 0;
    std::string lastReply;  // the server's last refusal, which says why
    char detail[CURL_ERROR_SIZE] = {};

    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    bool accepted = false;  // the server took the message: only the QUIT is left
    Failure result;
    std::vector<curl_socket_t> sockets;
    QEventLoop* waiting = nullptr;  // the caller's wait, woken by every change
    std::atomic<bool> abandoned{false};

    void tell() {  // mutex held
        changed.notify_all();
        if (waiting) QMetaObject::invokeMethod(waiting, "quit", Qt::QueuedConnection);
    }
    // Every wait of libcurl on these sockets ends at once; its progress check ends the rest.
    void abandon() {
        abandoned = true;
        const std::lock_guard lock(mutex);
        for (curl_socket_t fd : sockets) ::shutdown(fd, SHUT_RDWR);
    }
};

// The workers still running, so that the program's end can let them go before the libraries
// they use are torn down. Never destroyed: a worker may end after the exit handlers.
class Workers {
public:
    static Workers& get() {
        static Workers* const workers = [] {
            auto* w = new Workers;
            std::atexit([] { get().letGo(); });
            return w;
        }();
        return *workers;
    }
    void started(const std::shared_ptr<Attempt>& attempt) {
        const std::lock_guard lock(mutex_);
        std::erase_if(live_, [](const auto& weak) { return weak.expired(); });
        live_.push_back(attempt);
        ++running_;
    }
    void ended() {
        const std::lock_guard lock(mutex_);
        --running_;
        allEnded_.notify_all();
    }

private:
    void letGo() {
        std::unique_lock lock(mutex_);
        for (const auto& weak : live_)
            if (const auto attempt = weak.lock()) attempt->abandon();
        allEnded_.wait_for(lock, kExitGrace, [this] { return running_ == 0; });
    }

    std::mutex mutex_;
    std::condition_variable allEnded_;
    std::vector<std::weak_ptr<Attempt>> live_;
    int running_ = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
    auto* a = static_cast<Attempt*>(user);
    const size_t n = std::min(size * count, a->text.size() - a->sent);
    std::copy_n(a->text.data() + a->sent, n, buffer);
    a->sent += n;
    return n;
}

int traceReplies(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    if (type != CURLINFO_HEADER_IN) return 0;
    auto* a = static_cast<Attempt*>(user);
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    const int code = replyCode(line);
    if (code >= 400) a->lastReply = line;  // the QUIT that follows a failure answers 221
    // The first reply once the whole message is out is the one to its end.
    if (code / 100 == 2 && a->sent == a->text.size()) {
        const std::lock_guard lock(a->mutex);
        if (!a->accepted) {
            a->accepted = true;
            a->tell();
        }
    }
    return 0;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Attempt*>(user)->abandoned ? 1 : 0;
}

curl_socket_t openSocket(void* user, curlsocktype, curl_sockaddr* address) {
    auto* a = static_cast<Attempt*>(user);
    UniqueFd fd(::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol));
    if (!fd) return CURL_SOCKET_BAD;
    const std::lock_guard lock(a->mutex);
    if (a->abandoned) return CURL_SOCKET_BAD;
    a->sockets.push_back(fd.get());
    return fd.release();  // libcurl's now, until it hands it to closeSocket
}

int closeSocket(void* user, curl_socket_t fd) {
    auto* a = static_cast<Attempt*>(user);
    {
        const std::lock_guard lock(a->mutex);
        std::erase(a->sockets, fd);
    }
    return ::close(fd);
}

struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void transfer(const std::shared_ptr<Attempt>& a) {
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const std::string& r : a->recipients)
        recipients.reset(curl_slist_append(recipients.release(), r.c_str()));
    Failure result{kTransferFailed, "Mail transfer could not start"};
    if (CURL* h = curl_easy_init()) {
        curl_easy_setopt(h, CURLOPT_URL, a->url.c_str());
        curl_easy_setopt(h, CURLOPT_MAIL_FROM, a->from.c_str());
        curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
        if (!a->user.empty()) {
            curl_easy_setopt(h, CURLOPT_USERNAME, a->user.c_str());
            curl_easy_setopt(h, CURLOPT_PASSWORD, a->password.c_str());
        }
        curl_easy_setopt(h, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
        curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(h, CURLOPT_READFUNCTION, readUpload);
        curl_easy_setopt(h, CURLOPT_READDATA, a.get());
        curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(a->text.size()));
        curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);  // feeds the reply trace, prints nothing
        curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, traceReplies);
        curl_easy_setopt(h, CURLOPT_DEBUGDATA, a.get());
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, a->detail);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, progress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, a.get());
        curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, openSocket);
        curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, a.get());
        curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
        curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, a.get());
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        // The caller's bound ends the wait; these end the worker soon after, also each wait
        // libcurl makes inside its own calls (the reply to the end of data, the QUIT), which
        // its overall time-out does not cover.
        const long workerLimitMs = a->limitMs + 1000;
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, workerLimitMs);
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(workerLimitMs, 30000L));
        curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, (workerLimitMs + 999) / 1000);
        // The QUIT goes out on this handle, under these bounds, not on a cache's own later.
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
#if LIBCURL_VERSION_NUM >= 0x075700
        curl_easy_setopt(h, CURLOPT_QUICK_EXIT, 1L);  // a name lookup left running never holds us
#endif
        const CURLcode code = curl_easy_perform(h);
        result = code == CURLE_OK ? Failure{} : failureOf(code, a->detail, a->lastReply);
        curl_easy_cleanup(h);
    }
    const std::lock_guard lock(a->mutex);
    a->finished = true;
    a->result = result;
    a->tell();
}

long limitMs(int timeoutSeconds) {
    std::chrono::seconds limit{std::max(timeoutSeconds, 1)};
    const std::lock_guard lock(limitMutex);
    if (scopedLimit) limit = std::min(limit, *scopedLimit);
    return long(std::chrono::duration_cast<milliseconds>(limit).count());
}

}  // namespace

ScopedSendLimit::ScopedSendLimit(std::chrono::seconds limit) {
    const std::lock_guard lock(limitMutex);
    previous_ = scopedLimit;
    scopedLimit = previous_ ? std::min(*previous_, limit) : limit;
}

ScopedSendLimit::~ScopedSendLimit() {
    const std::lock_guard lock(limitMutex);
    scopedLimit = previous_;
}

Failure SmtpControl::Connect() {
    connected_ = false;
    if (cleanAddress(HostName).empty()) return {net::wsaHostNotFound, "No SMTP server set"};
    if (reservedName(HostName)) return {net::wsaHostNotFound, "Host not found: " + HostName};
    connected_ = true;
    return {};
}

void SmtpControl::Disconnect() { connected_ = false; }

Failure SmtpControl::Send(const Message& message) {
    if (!connected_) return {vb::kUnexpectedFailure, "Connection to the server not active"};
    auto a = std::make_shared<Attempt>();
    if (Failure failure = Compose(message, a->text)) return failure;
    for (const auto* list : {&message.to, &message.cc})
        for (const Address& address : *list)
            a->recipients.push_back("<" + cleanAddress(address.address) + ">");
    if (a->recipients.empty()) return {kNoRecipient, "No recipient"};
    const std::string server =
        HostName.find(':') == std::string::npos ? HostName + ":" + std::to_string(Port) : HostName;
    a->url = "smtp://" + server;
    a->from = "<" + cleanAddress(message.from.address) + ">";
    a->user = UserName;
    a->password = Password;
    a->limitMs = limitMs(TimeoutSeconds);

    static std::once_flag curlReady;
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    try {
        Workers::get().started(a);
        std::thread([a] {
            transfer(a);
            Workers::get().ended();
        }).detach();
    } catch (const std::system_error&) {
        Workers::get().ended();
        return {kTransferFailed, "Mail transfer could not start"};
    }

    const Clock::time_point deadline = Clock::now() + milliseconds(a->limitMs);
    // Once the application has ended its event loops, they return at once: the rest of the
    // wait is a plain one.
    bool loopsRun = QCoreApplication::instance() != nullptr;
    for (;;) {
        {
            std::unique_lock lock(a->mutex);
            if (a->accepted) return {};
            if (a->finished) return a->result;
            const Clock::time_point now = Clock::now();
            if (now >= deadline) break;
            if (!loopsRun) {
                a->changed.wait_for(lock, std::min<Clock::duration>(kWaitPass, deadline - now));
                continue;
            }
        }
        if (KeepWaiting && !KeepWaiting()) {
            a->abandon();
            return {net::wsaInterrupted, "Mail given up: the program is ending"};
        }
        QEventLoop loop;
        {
            const std::lock_guard lock(a->mutex);
            if (a->accepted || a->finished) continue;
            a->waiting = &loop;
        }
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        QTimer::singleShot(std::clamp(left, milliseconds{1}, kWaitPass), &loop, &QEventLoop::quit);
        loopsRun = loop.exec() == 0;
        const std::lock_guard lock(a->mutex);
        a->waiting = nullptr;
    }
    a->abandon();
    return {net::wsaTimedOut,
            "No answer from the mail server within " + std::to_string(a->limitMs / 1000) + " s"};
}

}  // namespace platform::mail
