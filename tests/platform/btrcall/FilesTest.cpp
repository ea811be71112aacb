// Opening, creating, closing and the statuses of files that are missing, foreign or refused.
#include <gtest/gtest.h>

#include <fstream>

#include <sqlite3.h>
#include <unistd.h>

#include "tests/platform/btrcall/BtrcallFixture.h"
#include "tests/support/WindowsFiles.h"

using namespace btrtest;
namespace bc = platform::btrcall;
namespace fs = std::filesystem;

class Files : public support::SiteTest {
protected:
    void SetUp() override { fs::create_directories(drive.root() / "AL_Data"); }
    const std::string path = "C:\\AL_Data\\FRADA55.bt6";
    const std::string spec55 = spec(500, {{{1, 16, 2}}});
};

TEST_F(Files, NamesAreFoundWithoutRegardToCase) {
    ASSERT_EQ(create("C:\\al_data\\FRADA55.bt6", spec55), 0);
    EXPECT_TRUE(fs::exists(drive.root() / "AL_Data" / "FRADA55.bt6"));
    Handle h;
    EXPECT_EQ(h.open("c:\\AL_DATA\\frada55.BT6"), 0);
    for (const auto& entry : fs::directory_iterator(drive.root() / "AL_Data"))
        EXPECT_EQ(entry.path().filename().string().find(".al3new"), std::string::npos);
}

TEST_F(Files, OpenStatuses) {
    Handle h;
    EXPECT_EQ(h.open("C:\\AL_Data\\FRADB55.bt6"), bc::StatusFileNotFound);
    EXPECT_EQ(h.open("Q:\\AL_Data\\FRADA55.bt6"), bc::StatusFileNotFound);
    EXPECT_EQ(h.open("C:\\AL_Data"), bc::StatusInvalidFileName);
    EXPECT_EQ(h.open("\\\\server\\share\\FRADA55.bt6"), bc::StatusInvalidFileName);

    const std::string text = "not a record file\r\nsecond line\r\n";
    support::writeWindowsFile(drive.root() / "AL_Data" / "FRADC55.bt6", "not a record file\nsecond line\n");
    EXPECT_EQ(h.open("C:\\AL_Data\\FRADC55.bt6"), bc::StatusNotOurFile);
    EXPECT_EQ(support::readBytes(drive.root() / "AL_Data" / "FRADC55.bt6"), text);
    EXPECT_FALSE(fs::exists(drive.root() / "AL_Data" / "FRADC55.bt6-wal"));

    std::ofstream(drive.root() / "AL_Data" / "FRADD55.bt6");  // 0 bytes
    EXPECT_EQ(h.open("C:\\AL_Data\\FRADD55.bt6"), bc::StatusNotOurFile);
    EXPECT_EQ(fs::file_size(drive.root() / "AL_Data" / "FRADD55.bt6"), 0u);
}

// Runs SQL straight on a file, as a damaged disk or a foreign tool would leave it.
void tamper(const fs::path& host, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(host.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

TEST_F(Files, DamagedDatabaseGivesAStatusNeverARecordOrACrash) {
    // A header without its texts: not one of ours.
    tamper(drive.root() / "AL_Data" / "FRADE55.bt6",
           "CREATE TABLE al3_file(format, spec); INSERT INTO al3_file VALUES(NULL, NULL);");
    Handle h;
    EXPECT_EQ(h.open("C:\\AL_Data\\FRADE55.bt6"), bc::StatusNotOurFile);

    // Rows cut short or emptied: an I/O error, and the caller's buffers keep their bytes.
    ASSERT_EQ(create(path, spec(500, {{{1, 16, 2}}, {{100, 8, 3}}})), 0);
    ASSERT_EQ(h.open(path), 0);
    ASSERT_EQ(h.insert(recordWith("AAAAAAAAAAAAAAAA")), 0);
    ASSERT_EQ(h.insert(recordWith("BBBBBBBBBBBBBBBB")), 0);
    ASSERT_EQ(h.close(), 0);
    tamper(drive.root() / "AL_Data" / "FRADA55.bt6",
           "UPDATE records SET data = x'41424344' WHERE id = 1;"
           "UPDATE records SET data = x'' WHERE id = 2;");
    ASSERT_EQ(h.open(path), 0);
    for (const char* first : {"AAAAAAAAAAAAAAAA", "BBBBBBBBBBBBBBBB"}) {
        std::string data(500, '#'), keyBuffer = first + std::string(239, '\0');
        uint32_t len = 500;
        EXPECT_EQ(bc::BTRCALL(bc::OpGetEqual, h.pos.data(), data.data(), &len, keyBuffer.data(), 255, 0),
                  bc::StatusIoError)
            << first;
        EXPECT_EQ(data, std::string(500, '#'));
        EXPECT_EQ(len, 500u);
        EXPECT_EQ(keyBuffer.substr(0, 16), first);
    }
    EXPECT_EQ(h.remove(), bc::StatusInvalidPositioning);
}

TEST_F(Files, UnreadableFileIsAccessDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ASSERT_EQ(create(path, spec55), 0);
    fs::permissions(drive.root() / "AL_Data" / "FRADA55.bt6", fs::perms::none);
    Handle h;
    EXPECT_EQ(h.open(path), bc::StatusAccessDenied);
    fs::permissions(drive.root() / "AL_Data" / "FRADA55.bt6", fs::perms::owner_all);
}

TEST_F(Files, CreateStatuses) {
    struct Case {
        const char* what;
        std::string specification;
        int16_t status;
    } cases[] = {
        {"record length 0", spec(0, {{{1, 16, 2}}}), bc::StatusInvalidRecordLength},
        {"page size 1000", spec(500, {{{1, 16, 2}}}, 1000), bc::StatusPageSizeError},
        {"no key", spec(500, {}), bc::StatusKeyCountError},
        {"key past the record", spec(500, {{{490, 16, 2}}}), bc::StatusInvalidKeyPosition},
        {"key at position 0", spec(500, {{{0, 16, 2}}}), bc::StatusInvalidKeyPosition},
        {"key of length 0", spec(500, {{{1, 0, 2}}}), bc::StatusInvalidKeyLength},
        {"descending key", spec(500, {{{1, 16, 64}}}), bc::StatusInvalidOperation},
        {"short buffer", spec55.substr(0, 20), bc::StatusDataBufferTooShort},
        {"file 22's six keys",
         spec(900, {{{1, 8, 2}}, {{9, 5, 3}}, {{19, 5, 3}}, {{64, 5, 3}}, {{69, 5, 3}}, {{24, 20, 1027}}},
              2048),
         0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(create("C:\\AL_Data\\FRADA40.bt6", c.specification, 0), c.status) << c.what;
    EXPECT_EQ(create("C:\\Missing\\FRADA40.bt6", spec55), bc::StatusFileNotFound);
    EXPECT_EQ(create("C:\\AL_Data\\FRADA40.bt6", spec55, -1), bc::StatusFileExists);
}

TEST_F(Files, CreateReplacesAFileNobodyHoldsAndRefusesOneInUse) {
    ASSERT_EQ(create(path, spec55), 0);
    Handle h;
    ASSERT_EQ(h.open(path), 0);
    ASSERT_EQ(h.insert(recordWith(std::string(16, 'X'))), 0);
    EXPECT_EQ(create(path, spec55), bc::StatusFileLocked);
    ASSERT_EQ(h.close(), 0);
    ASSERT_EQ(create(path, spec55), 0);
    ASSERT_EQ(h.open(path), 0);
    std::string key(16, '\0');
    EXPECT_EQ(h.get(bc::OpGetGreaterOrEqual, key), bc::StatusEndOfFile);
}

TEST_F(Files, CallStatuses) {
    ASSERT_EQ(create(path, spec55), 0);
    Handle h;
    ASSERT_EQ(h.open(path), 0);
    std::string key(16, '\0');
    EXPECT_EQ(h.get(bc::OpGetGreaterOrEqual, key, 1), bc::StatusInvalidKeyNumber);
    EXPECT_EQ(h.get(bc::OpGetEqual, key), bc::StatusKeyNotFound);
    EXPECT_EQ(h.remove(), bc::StatusInvalidPositioning);
    EXPECT_EQ(h.insert(std::string(499, ' ')), bc::StatusDataBufferTooShort);

    std::string data(500, ' ');
    uint32_t len = 500;
    char shortKey[8] = {};
    EXPECT_EQ(bc::BTRCALL(bc::OpGetGreaterOrEqual, h.pos.data(), data.data(), &len, shortKey, 8, 0),
              bc::StatusKeyBufferTooShort);
    len = 100;
    std::string keyBuffer(255, '\0');
    EXPECT_EQ(bc::BTRCALL(bc::OpGetGreaterOrEqual, h.pos.data(), data.data(), &len, keyBuffer.data(), 255, 0),
              bc::StatusDataBufferTooShort);
    len = 500;
    EXPECT_EQ(bc::BTRCALL(3, h.pos.data(), data.data(), &len, keyBuffer.data(), 255, 0),
              bc::StatusInvalidOperation);

    std::array<char, 128> stranger;
    stranger.fill(' ');
    EXPECT_EQ(
        bc::BTRCALL(bc::OpGetGreaterOrEqual, stranger.data(), data.data(), &len, keyBuffer.data(), 255, 0),
        bc::StatusFileNotOpen);
}

TEST_F(Files, StopEndsEveryHandle) {
    ASSERT_EQ(create(path, spec55), 0);
    Handle a, b;
    ASSERT_EQ(a.open(path), 0);
    ASSERT_EQ(b.open(path), 0);
    std::array<char, 128> pos;
    pos.fill(' ');
    std::string key(255, ' ');
    uint32_t len = 0;
    ASSERT_EQ(bc::BTRCALL(bc::OpStop, pos.data(), nullptr, &len, key.data(), 255, 0), 0);
    EXPECT_EQ(a.close(), bc::StatusFileNotOpen);
    EXPECT_EQ(b.close(), bc::StatusFileNotOpen);
}

TEST_F(Files, VersionGivesThreeBlocks) {
    std::array<char, 128> pos;
    pos.fill(' ');
    unsigned char data[15];
    uint32_t len = 15;
    std::string key(255, ' ');
    ASSERT_EQ(bc::BTRCALL(bc::OpVersion, pos.data(), data, &len, key.data(), 255, 0), 0);
    EXPECT_EQ(len, 15u);
    EXPECT_EQ(data[0] | (data[1] << 8), 1);
    EXPECT_EQ(data[4], 'L');
    EXPECT_EQ(data[5] | (data[6] << 8), 3) << "the SQLite engine's major version";
    EXPECT_EQ(data[14], 0) << "no server engine";
    len = 14;
    EXPECT_EQ(bc::BTRCALL(bc::OpVersion, pos.data(), data, &len, key.data(), 255, 0),
              bc::StatusDataBufferTooShort);
}
