// The log file kept open between writes; what a write put in, and why it stopped.
#pragma once

#include <cstddef>
#include <string>

namespace dailylog::sink {

struct Outcome {
    int error = 0;       // errno, 0 when every byte went in
    size_t written = 0;  // bytes that went in before a failure (then taken back)
};

// Appends the bytes to the file of that Windows name with one write. A write that fails part-way
// is taken back, so that the whole batch can be written again later. The name is resolved to
// its host path again when resolveAgain is set or the drive mapping changed.
Outcome append(const std::string& fileName, const std::string& bytes, bool resolveAgain);

}  // namespace dailylog::sink
