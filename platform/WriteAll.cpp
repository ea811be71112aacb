// Writing a whole buffer to a descriptor, through interrupted calls and short writes.
#include "platform/WriteAll.h"

#include <cerrno>

#include <unistd.h>

namespace platform {
namespace {

template <class Write>
WriteOutcome writeLoop(std::string_view bytes, Write write) {
    WriteOutcome outcome;
    while (outcome.written < bytes.size()) {
        const ssize_t n =
            write(bytes.data() + outcome.written, bytes.size() - outcome.written, outcome.written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            outcome.error = n < 0 ? errno : EIO;
            return outcome;
        }
        outcome.written += size_t(n);
    }
    return outcome;
}

}  // namespace

WriteOutcome writeAll(int fd, std::string_view bytes) {
    return writeLoop(bytes, [fd](const char* data, size_t size, size_t) { return ::write(fd, data, size); });
}

WriteOutcome writeAllAt(int fd, std::string_view bytes, off_t offset) {
    return writeLoop(bytes, [fd, offset](const char* data, size_t size, size_t done) {
        return ::pwrite(fd, data, size, offset + off_t(done));
    });
}

}  // namespace platform
