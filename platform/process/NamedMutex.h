// A named mutex shared by the processes of one install and C: root, held while the object lives.
#pragma once

#include <string>

namespace platform::process {

class NamedMutex {
public:
    explicit NamedMutex(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Another process (or object) held the mutex when this one was created.
    bool alreadyExisted() const { return alreadyExisted_; }

private:
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

}  // namespace platform::process
