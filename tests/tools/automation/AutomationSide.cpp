// The automation's side of the record-manager files, through the same BTRCALL the program uses.
#include "tests/tools/automation/AutomationSide.h"

#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "btrieve/Catalogue.h"
#include "btrieve/Records.h"
#include "foundation/Conversions.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "platform/btrcall/Btrcall.h"

namespace automation {
namespace bc = platform::btrcall;

namespace {

std::string pathOf(const std::string& dataFolder, int16_t file, int station) {
    if (BtrieveFileDefs[0].baseName.empty()) Lib_Data_BTrieve_2::InitGeneralData();
    return Lib_Public::CheckRep(dataFolder) + Lib_Data_BTrieve::NomFichierBTR(file, int16_t(station - 1));
}

bool present(const std::string& windowsPath) {
    std::error_code ec;
    const std::filesystem::path host = platform::winpath::toHost(windowsPath);
    return !host.empty() && std::filesystem::exists(host, ec);
}

std::string keyBuffer(const std::string& windowsPath) {
    std::string key = platform::cp1252::fromUtf8(windowsPath);
    key.resize(std::max<size_t>(key.size() + 1, 255), '\0');
    return key;
}

}  // namespace

const std::vector<int16_t>& baseFiles() {
    static const std::vector<int16_t> files = {20, 21, 22, 26, 31, 32, 37, 43, 44, 45, 47, 55, 59};
    return files;
}

int16_t createBaseFiles(const std::string& dataFolder, int stations, const std::vector<int16_t>& files,
                        std::string& failedPath) {
    for (int16_t file : files) {
        for (int station = 1; station <= stations; ++station) {
            const std::string path = pathOf(dataFolder, file, station);
            if (present(path)) continue;
            Lib_Data_BTrieve::InitStructureFichierBTR(file, true);
            std::array<char, 128> pos;
            pos.fill(' ');
            uint32_t length = uint32_t(BtrieveFileSpec.size());
            std::string key = keyBuffer(path);
            const int16_t status =
                bc::BTRCALL(bc::OpCreate, pos.data(), BtrieveFileSpec.data(), &length, key.data(), 255, 0);
            if (status != 0) {
                failedPath = path;
                return status;
            }
        }
    }
    return 0;
}

std::string sequenceKey(int64_t n) { return "20261210" + Lib_Public::N2S(double(n), 8); }

MessageWriter::~MessageWriter() {
    if (!open_) return;
    std::string key(255, ' ');
    bc::BTRCALL(bc::OpClose, pos_.data(), nullptr, nullptr, key.data(), 255, 0);
}

int16_t MessageWriter::open(const std::string& dataFolder, int station) {
    path_ = pathOf(dataFolder, 55, station);
    if (path_.size() <= Lib_Public::CheckRep(dataFolder).size()) return bc::StatusInvalidFileName;
    pos_.fill(' ');
    EnregFRADx55 record{};
    uint32_t length = sizeof record;
    std::string key = keyBuffer(path_);
    const int16_t status = bc::BTRCALL(bc::OpOpen, pos_.data(), &record, &length, key.data(), 255, 0);
    open_ = status == 0;
    return status;
}

int16_t MessageWriter::insert(const std::string& key, const std::string& nature, const std::string& text) {
    const std::string natureBytes = platform::cp1252::fromUtf8(nature);
    const std::string textBytes = platform::cp1252::fromUtf8(text);
    EnregFRADx55 record;
    if (key.size() > 16 || natureBytes.size() > sizeof record.Nature ||
        textBytes.size() > sizeof record.Message)
        return bc::StatusDataBufferTooShort;
    std::memset(&record, ' ', sizeof record);
    std::memcpy(record.Key1, key.data(), key.size());
    std::memcpy(record.Nature, natureBytes.data(), natureBytes.size());
    std::memcpy(record.Message, textBytes.data(), textBytes.size());
    uint32_t length = sizeof record;
    std::string keyOut(255, '\0');
    return bc::BTRCALL(bc::OpInsert, pos_.data(), &record, &length, keyOut.data(), 255, 0);
}

bool holdWriteLock(const std::string& windowsPath, int milliseconds, void (*onLocked)()) {
    const std::filesystem::path host = platform::winpath::toHost(windowsPath);
    sqlite3* db = nullptr;
    bool held = !host.empty() &&
                sqlite3_open_v2(host.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (held) {
        onLocked();
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return held;
}

}  // namespace automation
