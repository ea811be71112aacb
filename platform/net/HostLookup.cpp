// Name lookups through QHostInfo's worker threads, with our own time limit and failure memory.
#include "platform/net/HostLookup.h"

#include <QHostInfo>
#include <QTimer>

#include "platform/Clock.h"
#include "platform/net/WinsockErrors.h"

namespace platform::net {
namespace {

class SystemNameServer : public NameServer {
public:
    // A lookup given up still holds one of Qt's workers until the resolver answers it: past
    // this many, a new one is refused at once rather than queued behind them.
    static constexpr int kMaxInFlight = 64;

    int start(const QString& name, LookupDone answer) override {
        if (inFlight_ >= kMaxInFlight) {
            QTimer::singleShot(0, &context_, [answer = std::move(answer)] { answer(wsaTryAgain, {}); });
            return 0;
        }
        ++inFlight_;
        return QHostInfo::lookupHost(name, &context_,
                                     [this, answer = std::move(answer)](const QHostInfo& info) {
                                         --inFlight_;
                                         for (const QHostAddress& a : info.addresses())
                                             if (a.protocol() == QAbstractSocket::IPv4Protocol)
                                                 return answer(wsaOk, a);
                                         answer(wsaHostNotFound, {});
                                     });
    }
    // Nothing to do: Qt's abort would never free the callback of a lookup made with a functor;
    // the late answer comes, frees it, and is dropped by its serial.
    void cancel(int) override {}

private:
    QObject context_;
    int inFlight_ = 0;
};

// Letters, digits, "-", "_" and dots (international names pass as their UTF-8 bytes), at
// most 253 characters: anything else never reaches a name server.
bool plausibleHostName(std::string_view name) {
    if (name.empty() || name.size() > 253) return false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool allowed = u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!allowed) return false;
    }
    return true;
}

std::string keyOf(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return key;
}

}  // namespace

bool parseDottedQuad(std::string_view text, QHostAddress& address) {
    uint32_t value = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        const size_t start = i;
        uint32_t part = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3)
            part = part * 10 + uint32_t(text[i++] - '0');
        const size_t digits = i - start;
        if (digits == 0 || part > 255 || (digits > 1 && text[start] == '0')) return false;
        value = (value << 8) | part;
        if (++parts < 4) {
            if (i >= text.size() || text[i] != '.') return false;
            ++i;
        }
    }
    if (i != text.size()) return false;
    address.setAddress(value);
    return true;
}

HostLookup& HostLookup::instance() {
    static HostLookup* const lookup = new HostLookup;  // lives past the application object
    return *lookup;
}

HostLookup::HostLookup() : system_(std::make_unique<SystemNameServer>()) {}

void HostLookup::setNameServer(NameServer* server) {
    reset();
    server_ = server;
}

void HostLookup::reset() {
    for (auto& [key, running] : running_) {
        server().cancel(running.id);
        waiting_ -= running.waiters.size();
    }
    running_.clear();
    failures_.clear();
}

void HostLookup::answerLater(QObject* context, LookupDone done, int32_t error, const QHostAddress& address) {
    QTimer::singleShot(0, context, [done = std::move(done), error, address] { done(error, address); });
}

void HostLookup::lookup(const std::string& name, QObject* context, LookupDone done) {
    QHostAddress literal;
    if (parseDottedQuad(name, literal)) return answerLater(context, std::move(done), wsaOk, literal);
    if (!plausibleHostName(name)) return answerLater(context, std::move(done), wsaHostNotFound, {});
    const std::string key = keyOf(name);
    if (const int32_t error = rememberedFailure(key)) return answerLater(context, std::move(done), error, {});
    if (waiting_ >= kMaxWaiting) return answerLater(context, std::move(done), wsaTryAgain, {});

    ++waiting_;
    if (const auto it = running_.find(key); it != running_.end()) {
        it->second.waiters.push_back({context, std::move(done)});
        return;
    }
    const uint64_t serial = ++serial_;
    Running& running = running_[key];
    running.serial = serial;
    running.waiters.push_back({context, std::move(done)});
    // Left to fire when the answer came first: it then finds another serial or none.
    QTimer::singleShot(timeLimit_, &timers_, [this, key, serial] {
        if (const auto it = running_.find(key); it != running_.end() && it->second.serial == serial)
            server().cancel(it->second.id);
        finish(key, serial, wsaTryAgain, {});
    });
    const int id = server().start(QString::fromStdString(name),
                                  [this, key, serial](int32_t error, const QHostAddress& address) {
                                      finish(key, serial, error, address);
                                  });
    if (const auto it = running_.find(key); it != running_.end() && it->second.serial == serial)
        it->second.id = id;
}

void HostLookup::finish(const std::string& key, uint64_t serial, int32_t error, const QHostAddress& address) {
    const auto it = running_.find(key);
    if (it == running_.end() || it->second.serial != serial) return;  // a late answer
    // Taken out first: a waiter may ask again, for this name or another.
    std::vector<Waiter> waiters = std::move(it->second.waiters);
    running_.erase(it);
    waiting_ -= waiters.size();
    if (error != wsaOk) remember(key, error);
    for (Waiter& w : waiters)
        if (w.context) w.done(error, address);
}

int32_t HostLookup::rememberedFailure(const std::string& key) {
    const auto it = failures_.find(key);
    if (it == failures_.end()) return wsaOk;
    if (platform::clock::tick64() < it->second.until) return it->second.error;
    failures_.erase(it);
    return wsaOk;
}

void HostLookup::remember(const std::string& key, int32_t error) {
    const uint64_t now = platform::clock::tick64();
    if (failures_.size() >= kMaxRemembered) {
        std::erase_if(failures_, [now](const auto& entry) { return entry.second.until <= now; });
        if (failures_.size() >= kMaxRemembered) failures_.erase(failures_.begin());
    }
    failures_[key] = {now + uint64_t(kFailureMemory.count()), error};
}

}  // namespace platform::net
