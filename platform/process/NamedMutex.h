// A named mutex shared by the processes of one install and C: root, held while the object lives.
#pragma once

#include <string>

#include "platform/UniqueFd.h"

namespace platform::process {

class NamedMutex {
public:
    explicit NamedMutex(const std::string& name);
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool isOpen() const { return bool(fd_); }
    // Another process (or object) held the mutex when this one was created.
    bool alreadyExisted() const { return alreadyExisted_; }

private:
    UniqueFd fd_;  // the lock goes with the descriptor
    bool alreadyExisted_ = false;
};

}  // namespace platform::process
