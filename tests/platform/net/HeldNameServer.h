// A name server that answers only when told: the slow or silent server of a machine whose
// resolver cannot be made slow on demand. Installed for the life of the object.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/net/HostLookup.h"

namespace nettest {

class HeldNameServer : public platform::net::NameServer {
public:
    explicit HeldNameServer(std::chrono::milliseconds limit = platform::net::HostLookup::kTimeLimit) {
        platform::net::HostLookup::instance().setNameServer(this);
        platform::net::HostLookup::instance().setTimeLimit(limit);
    }
    ~HeldNameServer() override {
        platform::net::HostLookup::instance().setNameServer(nullptr);
        platform::net::HostLookup::instance().setTimeLimit(platform::net::HostLookup::kTimeLimit);
    }

    int start(const QString& name, platform::net::LookupDone answer) override {
        held_.push_back({++lastId_, name.toStdString(), std::move(answer)});
        started.push_back(name.toStdString());
        return lastId_;
    }
    void cancel(int id) override { cancelled.push_back(id); }

    // Answers the oldest lookup of the name still held; false when none is.
    bool answer(const std::string& name, int32_t error,
                const QHostAddress& address = QHostAddress(QHostAddress::LocalHost)) {
        for (auto it = held_.begin(); it != held_.end(); ++it) {
            if (it->name != name) continue;
            const platform::net::LookupDone done = std::move(it->answer);
            held_.erase(it);
            done(error, address);
            return true;
        }
        return false;
    }

    std::vector<std::string> started;  // every name asked, in order
    std::vector<int> cancelled;

private:
    struct Held {
        int id;
        std::string name;
        platform::net::LookupDone answer;
    };
    std::vector<Held> held_;
    int lastId_ = 0;
};

}  // namespace nettest
