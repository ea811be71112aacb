// One record-manager file: fixed-length records and their keys in one SQLite database (WAL).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/btrcall/FileSpec.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform::btrcall {

class RecordFile {
public:
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Builds the file beside its final name and renames it into place, so that a crash never
    // leaves a half-made file under the real name.
    static int16_t create(const std::filesystem::path& path, std::string_view spec);
    static int16_t open(const std::filesystem::path& path, std::unique_ptr<RecordFile>& out);

    const FileDef& def() const { return def_; }
    const std::filesystem::path& path() const { return path_; }

    int16_t insert(std::string_view record, int64_t& id);
    // Deletes the record only while it still holds exactly the bytes read; 80 otherwise.
    int16_t remove(int64_t id, std::string_view asRead);
    // First record, in key order, whose key equals (or is at least) the collation key.
    int16_t find(size_t keyNum, std::string_view collated, bool orGreater, int64_t& id, std::string& record);

private:
    RecordFile(sqlite3* db, std::filesystem::path path, FileDef def);
    int16_t prepare();

    sqlite3* db_;
    std::filesystem::path path_;
    FileDef def_;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* remove_ = nullptr;
    std::vector<sqlite3_stmt*> equal_;
    std::vector<sqlite3_stmt*> greaterOrEqual_;
};

}  // namespace platform::btrcall
