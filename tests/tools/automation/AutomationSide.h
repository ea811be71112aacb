// What the automation does to a base's record-manager files: create them, write messages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace automation {

// The files the program opens for a base: 20, 21, 22, 26, 31, 32, 37, 43, 44, 45, 47, 55, 59.
const std::vector<int16_t>& baseFiles();

// Creates the missing files of the list in the data folder (a Windows path) for stations 1 to
// `stations`; a file that exists is left alone. 0, or the failing status and its path.
int16_t createBaseFiles(const std::string& dataFolder, int stations, const std::vector<int16_t>& files,
                        std::string& failedPath);

// "20261210" and the number on eight digits: sixteen bytes that sort as the numbers do.
std::string sequenceKey(int64_t n);

// Appends the player's messages to FRADx55 of one station, keeping the file open.
class MessageWriter {
public:
    MessageWriter() = default;
    ~MessageWriter();
    MessageWriter(const MessageWriter&) = delete;
    MessageWriter& operator=(const MessageWriter&) = delete;

    int16_t open(const std::string& dataFolder, int station);
    // key: up to 16 raw bytes, padded with blanks; nature and text: UTF-8, stored as
    // Windows-1252 and padded with blanks (4 and 480 bytes). Longer fields give status 22.
    int16_t insert(const std::string& key, const std::string& nature, const std::string& text);
    const std::string& path() const { return path_; }

private:
    std::array<char, 128> pos_{};
    bool open_ = false;
    std::string path_;
};

// Holds the write lock of a record-manager file for the given time, as the automation does
// while it writes; `onLocked` runs once the lock is held. False when it could not be taken.
bool holdWriteLock(const std::string& windowsPath, int milliseconds, void (*onLocked)());

}  // namespace automation
