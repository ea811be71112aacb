// The log file kept open between writes: one batch of lines appended, or taken back whole.
#pragma once

#include <cstddef>
#include <string>

namespace dailylog::sink {

struct Outcome {
    int error = 0;       // errno, 0 when every byte went in
    size_t written = 0;  // bytes that went in before a failure (then taken back)
};

// Closes the file kept open; the next batch opens it again by its name.
void closeFile();

// The bytes a line takes in the file: Windows-1252 and CR LF.
size_t bytesOf(const std::string& line);

// One batch appended to the log file of that Windows name: one write for a batch of up to 64 KiB,
// so that a backlog never needs its whole text in memory. A batch that fails part-way is taken
// back, so that it can be written again whole. The name is resolved to its host path again when
// resolveAgain is set or the drive mapping changed; a file that cannot be opened fails at once.
class Batch {
public:
    Batch(const std::string& fileName, bool resolveAgain);
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    bool failed() const { return outcome_.error != 0; }
    void addLine(const std::string& line);
    void addBytes(const std::string& bytes);
    // Writes what is left; on failure takes back what this batch wrote.
    Outcome finish();

private:
    void writeOut();

    int fd_ = -1;
    std::string pending_;
    Outcome outcome_;
};

}  // namespace dailylog::sink
