// The BTRCALL entry: position blocks name open handles, each with its own current record.
#include "platform/btrcall/Btrcall.h"

#include <cstring>
#include <map>
#include <memory>
#include <system_error>

#include <sqlite3.h>
#include <unistd.h>

#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "platform/btrcall/RecordFile.h"

namespace platform::btrcall {
namespace fs = std::filesystem;
namespace {

struct Handle {
    std::unique_ptr<RecordFile> file;
    bool positioned = false;
    int64_t id = 0;
    std::string asRead;  // the current record as it was read: a delete checks it is unchanged
};

constexpr char kMagic[4] = {'A', 'L', '3', 'P'};

std::map<uint32_t, Handle>& handles() {
    static std::map<uint32_t, Handle> table;
    return table;
}
uint32_t nextHandle = 1;

uint32_t idIn(const char* posBlock) {
    if (std::memcmp(posBlock, kMagic, sizeof kMagic) != 0) return 0;
    uint32_t id = 0;
    std::memcpy(&id, posBlock + sizeof kMagic, sizeof id);
    return id;
}

Handle* handleOf(const char* posBlock) {
    if (!posBlock) return nullptr;
    auto it = handles().find(idIn(posBlock));
    return it == handles().end() ? nullptr : &it->second;
}

// A path in the key buffer ends at a NUL or at the key length; trailing blanks are padding.
std::string windowsPathIn(const char* key, uint16_t keyLen) {
    size_t n = 0;
    while (n < keyLen && key[n] != '\0') ++n;
    while (n > 0 && key[n - 1] == ' ') --n;
    return cp1252::toUtf8(std::string_view(key, n));
}

int16_t resolve(const char* key, uint16_t keyLen, fs::path& host) {
    if (!key) return StatusInvalidFileName;
    const std::string windows = windowsPathIn(key, keyLen);
    if (windows.empty() || isNetworkPath(windows)) return StatusInvalidFileName;
    host = winpath::toHost(windows);
    return host.empty() ? StatusFileNotFound : StatusOk;
}

bool openByUs(const fs::path& host) {
    std::error_code ec;
    for (const auto& [id, handle] : handles())
        if (fs::equivalent(handle.file->path(), host, ec)) return true;
    return false;
}

int16_t doOpen(char* posBlock, char* key, uint16_t keyLen) {
    fs::path host;
    if (int16_t status = resolve(key, keyLen, host)) return status;
    std::error_code ec;
    const fs::file_status st = fs::status(host, ec);
    if (!fs::exists(st)) return StatusFileNotFound;
    if (!fs::is_regular_file(st)) return StatusInvalidFileName;
    if (::access(host.c_str(), R_OK) != 0) return StatusAccessDenied;
    std::unique_ptr<RecordFile> file;
    if (int16_t status = RecordFile::open(host, file)) return status;
    const uint32_t id = nextHandle++;
    handles()[id].file = std::move(file);
    std::memcpy(posBlock, kMagic, sizeof kMagic);
    std::memcpy(posBlock + sizeof kMagic, &id, sizeof id);
    return StatusOk;
}

int16_t doCreate(const void* data, const uint32_t* dataLen, char* key, uint16_t keyLen, int16_t keyNum) {
    fs::path host;
    if (int16_t status = resolve(key, keyLen, host)) return status;
    std::error_code ec;
    if (!fs::is_directory(host.parent_path(), ec)) return StatusFileNotFound;
    if (fs::exists(host, ec)) {
        if (keyNum == -1) return StatusFileExists;
        if (openByUs(host) || fs::exists(host.string() + "-wal", ec) ||
            fs::exists(host.string() + "-shm", ec))
            return StatusFileLocked;
    }
    return RecordFile::create(host, std::string_view(static_cast<const char*>(data), *dataLen));
}

int16_t checkKey(const Handle& h, int16_t keyNum, uint16_t keyLen) {
    if (keyNum < 0 || size_t(keyNum) >= h.file->def().keys.size()) return StatusInvalidKeyNumber;
    if (keyLen < h.file->def().keys[keyNum].length) return StatusKeyBufferTooShort;
    return StatusOk;
}

void setPosition(Handle& h, int64_t id, std::string record, int16_t keyNum, char* key) {
    const KeyDef& def = h.file->def().keys[keyNum];
    const std::string bytes = keyOfRecord(def, record);
    std::memcpy(key, bytes.data(), bytes.size());
    h.positioned = true;
    h.id = id;
    h.asRead = std::move(record);
}

int16_t doInsert(Handle& h, const void* data, const uint32_t* dataLen, char* key, uint16_t keyLen,
                 int16_t keyNum) {
    if (int16_t status = checkKey(h, keyNum, keyLen)) return status;
    const uint16_t length = h.file->def().recordLength;
    if (*dataLen < length) return StatusDataBufferTooShort;
    std::string record(static_cast<const char*>(data), length);
    int64_t id = 0;
    if (int16_t status = h.file->insert(record, id)) return status;
    setPosition(h, id, std::move(record), keyNum, key);
    return StatusOk;
}

int16_t doGet(Handle& h, bool orGreater, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
              int16_t keyNum) {
    if (int16_t status = checkKey(h, keyNum, keyLen)) return status;
    const uint16_t length = h.file->def().recordLength;
    if (*dataLen < length) return StatusDataBufferTooShort;
    const KeyDef& def = h.file->def().keys[keyNum];
    int64_t id = 0;
    std::string record;
    const int16_t status = h.file->find(size_t(keyNum), collationKey(def, std::string_view(key, def.length)),
                                        orGreater, id, record);
    if (status != StatusOk) {
        h.positioned = false;
        return status;
    }
    std::memcpy(data, record.data(), length);
    *dataLen = length;
    setPosition(h, id, std::move(record), keyNum, key);
    return StatusOk;
}

int16_t doDelete(Handle& h) {
    if (!h.positioned) return StatusInvalidPositioning;
    const int16_t status = h.file->remove(h.id, h.asRead);
    if (status == StatusOk) h.positioned = false;
    return status;
}

// Three blocks of version (16-bit), revision (16-bit) and platform byte: this layer, the
// SQLite engine under it, and no server.
int16_t doVersion(void* data, uint32_t* dataLen) {
    if (*dataLen < kVersionSize) return StatusDataBufferTooShort;
    unsigned char* out = static_cast<unsigned char*>(data);
    std::memset(out, 0, kVersionSize);
    const int sqlite = sqlite3_libversion_number();
    const uint16_t blocks[2][2] = {{1, 0}, {uint16_t(sqlite / 1000000), uint16_t(sqlite / 1000 % 1000)}};
    const unsigned char platforms[2] = {'L', 'S'};
    for (int b = 0; b < 2; ++b) {
        std::memcpy(out + 5 * b, &blocks[b][0], 2);
        std::memcpy(out + 5 * b + 2, &blocks[b][1], 2);
        out[5 * b + 4] = platforms[b];
    }
    *dataLen = kVersionSize;
    return StatusOk;
}

}  // namespace

int16_t BTRCALL(uint16_t op, char* posBlock, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
                int16_t keyNum) {
    uint32_t noLength = 0;
    if (!dataLen) dataLen = &noLength;
    switch (op) {
        case OpOpen:
            return posBlock ? doOpen(posBlock, key, keyLen) : int16_t(StatusInvalidOperation);
        case OpCreate:
            return data ? doCreate(data, dataLen, key, keyLen, keyNum) : int16_t(StatusDataBufferTooShort);
        case OpStop:
            handles().clear();
            return StatusOk;
        case OpVersion:
            return data ? doVersion(data, dataLen) : int16_t(StatusDataBufferTooShort);
        case OpClose:
        case OpInsert:
        case OpDelete:
        case OpGetEqual:
        case OpGetGreaterOrEqual:
            break;
        default:
            return StatusInvalidOperation;
    }
    Handle* h = handleOf(posBlock);
    if (!h) return StatusFileNotOpen;
    if (op == OpClose) {
        handles().erase(idIn(posBlock));
        std::memset(posBlock, ' ', sizeof kMagic + sizeof(uint32_t));
        return StatusOk;
    }
    if (op == OpDelete) return doDelete(*h);
    if (!key) return StatusKeyBufferTooShort;
    if (!data) return StatusDataBufferTooShort;
    if (op == OpInsert) return doInsert(*h, data, dataLen, key, keyLen, keyNum);
    return doGet(*h, op == OpGetGreaterOrEqual, data, dataLen, key, keyLen, keyNum);
}

}  // namespace platform::btrcall
