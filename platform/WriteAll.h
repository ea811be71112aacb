// Writing a whole buffer to a descriptor, through interrupted calls and short writes.
#pragma once

#include <cstddef>
#include <string_view>

#include <sys/types.h>

namespace platform {

struct WriteOutcome {
    size_t written = 0;  // bytes that went in before the failure, all of them when none
    int error = 0;       // errno of the failed write; EIO for a write that took nothing
    explicit operator bool() const { return error == 0; }
};

[[nodiscard]] WriteOutcome writeAll(int fd, std::string_view bytes);
// The same at a position of the file, the file's offset untouched.
[[nodiscard]] WriteOutcome writeAllAt(int fd, std::string_view bytes, off_t offset);

}  // namespace platform
