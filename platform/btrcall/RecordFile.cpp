// SQLite form of a record-manager file: a header row with the create specification, one row
// per record with a column per key, one index per key. Busy time-out 0: a lock held by another
// process comes back at once as a lock status, which the callers retry.
#include "platform/btrcall/RecordFile.h"

#include <sqlite3.h>

#include <system_error>

#include "platform/btrcall/Btrcall.h"

namespace platform::btrcall {
namespace fs = std::filesystem;
namespace {

constexpr const char* kFormat = "AL3 record manager 1";

int16_t statusOf(int rc, int16_t whenLocked) {
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return StatusOk;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return whenLocked;
        case SQLITE_FULL:
            return StatusDiskFull;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return StatusAccessDenied;
        case SQLITE_NOTADB:
            return StatusNotOurFile;
        case SQLITE_CONSTRAINT:
            return StatusDuplicateKey;
        default:
            return StatusIoError;
    }
}

int exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string column(size_t k) { return "k" + std::to_string(k); }

std::string schema(const FileDef& def) {
    std::string sql =
        "CREATE TABLE al3_file(format TEXT NOT NULL, spec BLOB NOT NULL);"
        "CREATE TABLE records(id INTEGER PRIMARY KEY, data BLOB NOT NULL";
    for (size_t k = 0; k < def.keys.size(); ++k) sql += ", " + column(k) + " BLOB NOT NULL";
    sql += ");";
    for (size_t k = 0; k < def.keys.size(); ++k) {
        const bool dup = def.keys[k].duplicates;
        sql += std::string(dup ? "CREATE INDEX" : "CREATE UNIQUE INDEX") + " key" + std::to_string(k) +
               " ON records(" + column(k) + (dup ? ", id" : "") + ");";
    }
    return sql;
}

// The program keeps a connection open per file and station (about a hundred on a large site),
// each reading a few pages: without the per-connection lookaside slab and the page cache's
// up-front block, an idle connection costs a fraction of the memory. Set before SQLite starts.
int openDatabase(const fs::path& path, sqlite3** db, int flags) {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
        return true;
    }();
    (void)configured;
    return sqlite3_open_v2(path.c_str(), db, flags, nullptr);
}

void removeWithCompanions(const fs::path& path) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(fs::path(path.string() + suffix), ec);
}

}  // namespace

RecordFile::RecordFile(sqlite3* db, fs::path path, FileDef def)
    : db_(db), path_(std::move(path)), def_(std::move(def)) {}

RecordFile::~RecordFile() {
    sqlite3_finalize(insert_);
    sqlite3_finalize(remove_);
    for (sqlite3_stmt* s : equal_) sqlite3_finalize(s);
    for (sqlite3_stmt* s : greaterOrEqual_) sqlite3_finalize(s);
    sqlite3_close_v2(db_);
}

int16_t RecordFile::create(const fs::path& path, std::string_view spec) {
    FileDef def;
    if (int16_t status = parseSpec(spec, def)) return status;
    const fs::path building = path.string() + ".al3new";
    removeWithCompanions(building);

    sqlite3* db = nullptr;
    int rc = openDatabase(building, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (rc == SQLITE_OK) {
        rc = exec(db, "PRAGMA journal_mode=WAL");
        if (rc == SQLITE_OK) rc = exec(db, "BEGIN;" + schema(def));
        if (rc == SQLITE_OK) {
            sqlite3_stmt* header = nullptr;
            rc = sqlite3_prepare_v2(db, "INSERT INTO al3_file VALUES(?1, ?2)", -1, &header, nullptr);
            if (rc == SQLITE_OK) {
                sqlite3_bind_text(header, 1, kFormat, -1, SQLITE_STATIC);
                sqlite3_bind_blob(header, 2, spec.data(), int(spec.size()), SQLITE_STATIC);
                rc = sqlite3_step(header) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
            }
            sqlite3_finalize(header);
        }
        if (rc == SQLITE_OK) rc = exec(db, "COMMIT");
    }
    const int16_t status = statusOf(rc, StatusFileLocked);
    sqlite3_close_v2(db);
    if (status != StatusOk) {
        removeWithCompanions(building);
        return status;
    }
    std::error_code ec;
    fs::rename(building, path, ec);
    if (ec) {
        removeWithCompanions(building);
        return ec == std::errc::permission_denied ? StatusAccessDenied : StatusIoError;
    }
    return StatusOk;
}

int16_t RecordFile::open(const fs::path& path, std::unique_ptr<RecordFile>& out) {
    sqlite3* db = nullptr;
    int rc = openDatabase(path, &db, SQLITE_OPEN_READWRITE);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        return statusOf(rc, StatusFileLocked);
    }
    sqlite3_busy_timeout(db, 0);

    // The header is read before anything could write: a foreign file is never touched.
    std::string format, spec;
    sqlite3_stmt* header = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT format, spec FROM al3_file", -1, &header, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(header)) == SQLITE_ROW) {
        if (const unsigned char* text = sqlite3_column_text(header, 0))
            format.assign(reinterpret_cast<const char*>(text));
        if (const void* blob = sqlite3_column_blob(header, 1))
            spec.assign(static_cast<const char*>(blob), size_t(sqlite3_column_bytes(header, 1)));
        rc = SQLITE_OK;
    }
    sqlite3_finalize(header);
    FileDef def;
    int16_t status = StatusOk;
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_IOERR || (rc & 0xff) == SQLITE_CANTOPEN)
        status = statusOf(rc, StatusFileLocked);
    else if (rc != SQLITE_OK || format != kFormat || parseSpec(spec, def) != StatusOk)
        status = StatusNotOurFile;
    else if ((rc = exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL")) != SQLITE_OK)
        status = statusOf(rc, StatusFileLocked);
    if (status != StatusOk) {
        sqlite3_close_v2(db);
        return status;
    }
    std::unique_ptr<RecordFile> file(new RecordFile(db, path, std::move(def)));
    if (int16_t prepared = file->prepare()) return prepared;
    out = std::move(file);
    return StatusOk;
}

int16_t RecordFile::prepare() {
    std::string columns = "data", values = "?1";
    for (size_t k = 0; k < def_.keys.size(); ++k) {
        columns += ", " + column(k);
        values += ", ?" + std::to_string(k + 2);
    }
    int rc = sqlite3_prepare_v3(db_, ("INSERT INTO records(" + columns + ") VALUES(" + values + ")").c_str(),
                                -1, SQLITE_PREPARE_PERSISTENT, &insert_, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v3(db_, "DELETE FROM records WHERE id = ?1 AND data = ?2", -1,
                                SQLITE_PREPARE_PERSISTENT, &remove_, nullptr);
    for (size_t k = 0; k < def_.keys.size() && rc == SQLITE_OK; ++k) {
        const std::string order =
            " ORDER BY " + column(k) + (def_.keys[k].duplicates ? ", id" : "") + " LIMIT 1";
        sqlite3_stmt* equal = nullptr;
        sqlite3_stmt* greater = nullptr;
        rc = sqlite3_prepare_v3(db_,
                                ("SELECT id, data FROM records WHERE " + column(k) + " = ?1" + order).c_str(),
                                -1, SQLITE_PREPARE_PERSISTENT, &equal, nullptr);
        equal_.push_back(equal);
        if (rc == SQLITE_OK)
            rc = sqlite3_prepare_v3(
                db_, ("SELECT id, data FROM records WHERE " + column(k) + " >= ?1" + order).c_str(), -1,
                SQLITE_PREPARE_PERSISTENT, &greater, nullptr);
        greaterOrEqual_.push_back(greater);
    }
    return rc == SQLITE_OK ? StatusOk : StatusNotOurFile;
}

int16_t RecordFile::insert(std::string_view record, int64_t& id) {
    std::vector<std::string> keys;
    keys.reserve(def_.keys.size());
    for (const KeyDef& key : def_.keys) keys.push_back(collationKey(key, keyOfRecord(key, record)));
    sqlite3_bind_blob(insert_, 1, record.data(), int(record.size()), SQLITE_STATIC);
    for (size_t k = 0; k < keys.size(); ++k)
        sqlite3_bind_blob(insert_, int(k + 2), keys[k].data(), int(keys[k].size()), SQLITE_STATIC);
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);
    if (rc != SQLITE_DONE) return statusOf(rc, StatusRecordLocked);
    id = sqlite3_last_insert_rowid(db_);
    return StatusOk;
}

int16_t RecordFile::remove(int64_t id, std::string_view asRead) {
    sqlite3_bind_int64(remove_, 1, id);
    sqlite3_bind_blob(remove_, 2, asRead.data(), int(asRead.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(remove_);
    sqlite3_reset(remove_);
    sqlite3_clear_bindings(remove_);
    if (rc != SQLITE_DONE) return statusOf(rc, StatusRecordLocked);
    return sqlite3_changes(db_) == 1 ? StatusOk : StatusConflict;
}

int16_t RecordFile::find(size_t keyNum, std::string_view collated, bool orGreater, int64_t& id,
                         std::string& record) {
    sqlite3_stmt* stmt = orGreater ? greaterOrEqual_[keyNum] : equal_[keyNum];
    sqlite3_bind_blob(stmt, 1, collated.data(), int(collated.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(stmt);
    int16_t status = StatusOk;
    if (rc == SQLITE_ROW) {
        id = sqlite3_column_int64(stmt, 0);
        const void* blob = sqlite3_column_blob(stmt, 1);
        record.assign(blob ? static_cast<const char*>(blob) : "", size_t(sqlite3_column_bytes(stmt, 1)));
        // A damaged row must not be read past its end nor handed on as a record.
        if (record.size() != def_.recordLength) status = StatusIoError;
    } else if (rc == SQLITE_DONE) {
        status = orGreater ? StatusEndOfFile : StatusKeyNotFound;
    } else {
        status = statusOf(rc, StatusRecordLocked);
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return status;
}

}  // namespace platform::btrcall
