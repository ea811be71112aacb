// Host names looked up off the event loop: bounded in time, shared per name, failures remembered.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QHostAddress>
#include <QObject>
#include <QPointer>

namespace platform::net {

// Four decimal parts of 0 to 255 joined by dots, without leading zeros, and nothing else: the
// short and octal forms that inet_aton would also take ("1.2.3", "010.0.0.1") are refused.
bool parseDottedQuad(std::string_view text, QHostAddress& address);

// 0 and the first IPv4 address, or a Winsock number.
using LookupDone = std::function<void(int32_t error, const QHostAddress& address)>;

// Where names are looked up; tests stand in for a name server that is slow or never answers.
class NameServer {
public:
    virtual ~NameServer() = default;
    // Starts a lookup whose answer comes later on this thread; the id is for cancel.
    virtual int start(const QString& name, LookupDone answer) = 0;
    // The lookup is given up: its answer, if it still comes, is not wanted.
    virtual void cancel(int id) = 0;
};

class HostLookup {
public:
    static constexpr std::chrono::milliseconds kTimeLimit{1500};
    static constexpr std::chrono::milliseconds kFailureMemory{30000};
    static constexpr size_t kMaxWaiting = 256;
    static constexpr size_t kMaxRemembered = 1024;

    static HostLookup& instance();

    // done runs from the event loop, never inside this call, and not at all once context is
    // gone (a context is required). A dotted quad answers at once, and so does a text that
    // cannot be a host name (blanks, control characters, ...); a name that failed within
    // kFailureMemory fails again at once; requests for a name already being looked up wait
    // for that lookup.
    // Failures: wsaHostNotFound; wsaTryAgain when no answer came within the time limit or
    // too many requests are waiting.
    void lookup(const std::string& name, QObject* context, LookupDone done);

    // Tests: another name server (nullptr for the system's), a time limit, a fresh memory.
    void setNameServer(NameServer* server);
    void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }
    void reset();
    size_t waiting() const { return waiting_; }

private:
    struct Waiter {
        QPointer<QObject> context;
        LookupDone done;
    };
    struct Running {
        uint64_t serial = 0;
        int id = 0;  // the name server's
        std::vector<Waiter> waiters;
    };

    HostLookup();
    NameServer& server() const { return *(server_ ? server_ : system_.get()); }
    void answerLater(QObject* context, LookupDone done, int32_t error, const QHostAddress& address);
    void finish(const std::string& key, uint64_t serial, int32_t error, const QHostAddress& address);
    int32_t rememberedFailure(const std::string& key);  // 0 when none stands
    void remember(const std::string& key, int32_t error);

    std::unique_ptr<NameServer> system_;
    QObject timers_;  // the time limits' context
    NameServer* server_ = nullptr;
    std::chrono::milliseconds timeLimit_ = kTimeLimit;
    std::map<std::string, Running> running_;
    struct Failure {
        uint64_t until = 0;  // the tick up to which it stands
        int32_t error = 0;
    };
    std::map<std::string, Failure> failures_;
    size_t waiting_ = 0;
    uint64_t serial_ = 0;
};

}  // namespace platform::net
