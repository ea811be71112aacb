// Records in key order, kept across handles, deleted only as they were read.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "tests/platform/btrcall/BtrcallFixture.h"

using namespace btrtest;
namespace bc = platform::btrcall;

class Records : public support::SiteTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(drive.root() / "AL_Data");
        ASSERT_EQ(create(path, spec(500, {{{1, 16, 2}}})), 0);
        ASSERT_EQ(a.open(path), 0);
    }
    std::string path = "C:\\AL_Data\\FRADA55.bt6";
    Handle a;
};

TEST_F(Records, GreaterOrEqualWalkGivesUnsignedKeyOrderAndDeleteDrainsTheFile) {
    // Inserted out of order; 0x00, 0x7F, 0xE9 and 0xFF must sort as unsigned bytes.
    const std::vector<std::string> keys = {std::string("\xE9") + std::string(15, 'A'), std::string(16, 'B'),
                                           std::string(1, '\0') + std::string(15, 'Z'),
                                           std::string("\xFF") + std::string(15, '\0'),
                                           std::string("\x7F") + std::string(15, 'C')};
    for (const auto& k : keys) ASSERT_EQ(a.insert(recordWith(k + "MSG " + k.substr(1, 3))), 0);

    std::vector<std::string> drained;
    for (;;) {
        std::string key(16, '\0');
        const int16_t status = a.get(bc::OpGetGreaterOrEqual, key);
        if (status == bc::StatusEndOfFile) break;
        ASSERT_EQ(status, 0);
        EXPECT_EQ(a.record.size(), 500u);
        EXPECT_EQ(key, a.record.substr(0, 16)) << "the key of the record found comes back";
        drained.push_back(key);
        ASSERT_EQ(a.remove(), 0);
    }
    const std::vector<std::string> expected = {keys[2], keys[1], keys[4], keys[0], keys[3]};
    EXPECT_EQ(drained, expected);
    EXPECT_EQ(a.remove(), bc::StatusInvalidPositioning);
}

TEST_F(Records, EachHandleKeepsItsOwnPosition) {
    ASSERT_EQ(a.insert(recordWith(std::string(16, '1'))), 0);
    ASSERT_EQ(a.insert(recordWith(std::string(16, '2'))), 0);
    Handle b;
    ASSERT_EQ(b.open(path), 0);
    std::string first(16, '\0'), second(16, '2');
    ASSERT_EQ(a.get(bc::OpGetGreaterOrEqual, first), 0);
    ASSERT_EQ(b.get(bc::OpGetEqual, second), 0);
    ASSERT_EQ(a.remove(), 0);  // deletes record 1, not b's record 2
    std::string probe(16, '2');
    EXPECT_EQ(a.get(bc::OpGetEqual, probe), 0);
    probe = std::string(16, '1');
    EXPECT_EQ(a.get(bc::OpGetEqual, probe), bc::StatusKeyNotFound);
    EXPECT_EQ(b.remove(), 0);
    EXPECT_EQ(b.close(), 0);
    EXPECT_EQ(b.remove(), bc::StatusFileNotOpen);
    EXPECT_EQ(a.close(), 0);
}

TEST_F(Records, ARecordChangedBetweenTheReadAndTheDeleteIsAConflict) {
    ASSERT_EQ(a.insert(recordWith(std::string(16, 'K') + "old")), 0);
    std::string key(16, '\0');
    ASSERT_EQ(a.get(bc::OpGetGreaterOrEqual, key), 0);

    Handle b;  // the automation replaces the record meanwhile
    ASSERT_EQ(b.open(path), 0);
    std::string same(16, 'K');
    ASSERT_EQ(b.get(bc::OpGetEqual, same), 0);
    ASSERT_EQ(b.remove(), 0);
    ASSERT_EQ(b.insert(recordWith(std::string(16, 'K') + "new")), 0);

    EXPECT_EQ(a.remove(), bc::StatusConflict);
    std::string again(16, 'K');
    ASSERT_EQ(a.get(bc::OpGetEqual, again), 0);
    EXPECT_EQ(a.record.substr(16, 3), "new");
    EXPECT_EQ(a.remove(), 0);
}

TEST_F(Records, AnotherWriterHoldingTheFileGivesTheLockStatusAtOnce) {
    ASSERT_EQ(a.insert(recordWith(std::string(16, 'L'))), 0);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open((drive.root() / "AL_Data" / "FRADA55.bt6").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    std::string key(16, '\0');
    EXPECT_EQ(a.get(bc::OpGetGreaterOrEqual, key), 0) << "readers are not blocked in WAL mode";
    EXPECT_EQ(a.remove(), bc::StatusRecordLocked);
    EXPECT_EQ(a.insert(recordWith(std::string(16, 'M'))), bc::StatusRecordLocked);

    ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    EXPECT_EQ(a.remove(), 0);
}

TEST_F(Records, CaseInsensitiveSegmentsAndDuplicateKeys) {
    const std::string ci = "C:\\AL_Data\\FRADA48.bt6";
    // Key 0: bytes 1-8 unique; key 1: bytes 9-12 ignoring case, duplicates allowed.
    ASSERT_EQ(create(ci, spec(100, {{{1, 8, 2}}, {{9, 4, 1027}}})), 0);
    Handle h;
    h.length = 100;
    ASSERT_EQ(h.open(ci), 0);
    ASSERT_EQ(h.insert(recordWith("00000001abcd", 100)), 0);
    ASSERT_EQ(h.insert(recordWith("00000002ABCD", 100)), 0);
    ASSERT_EQ(h.insert(recordWith("00000003abce", 100)), 0);
    EXPECT_EQ(h.insert(recordWith("00000001zzzz", 100)), bc::StatusDuplicateKey);

    std::string key = "AbCd";
    ASSERT_EQ(h.get(bc::OpGetEqual, key, 1), 0);
    EXPECT_EQ(h.record.substr(0, 8), "00000001") << "duplicates come in insertion order";
    EXPECT_EQ(key, "abcd") << "the key of the record as stored";
    key = "ABCE";
    ASSERT_EQ(h.get(bc::OpGetGreaterOrEqual, key, 1), 0);
    EXPECT_EQ(h.record.substr(0, 8), "00000003");
}

TEST_F(Records, SegmentedKeysJoinTheirSegmentsInOrder) {
    const std::string seg = "C:\\AL_Data\\FRADA21.bt6";
    // Key 0: bytes 1-10; key 1: bytes 1-5 then 11-20 (case ignored), duplicates allowed.
    ASSERT_EQ(create(seg, spec(980, {{{1, 10, 2}}, {{1, 5, 1043}, {11, 10, 1027}}})), 0);
    Handle h;
    h.length = 980;
    ASSERT_EQ(h.open(seg), 0);
    ASSERT_EQ(h.insert(recordWith("AAAAA00001zeta", 980)), 0);
    ASSERT_EQ(h.insert(recordWith("AAAAA00002Alpha", 980)), 0);
    std::string key = "aaaaa" + std::string(10, '\0');
    ASSERT_EQ(h.get(bc::OpGetGreaterOrEqual, key, 1), 0);
    EXPECT_EQ(h.record.substr(0, 10), "AAAAA00002");
    EXPECT_EQ(key, "AAAAAAlpha     ");
}
