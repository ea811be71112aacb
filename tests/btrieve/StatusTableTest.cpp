// The general operation's retries and reports, through an engine that plays scripted statuses.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "tests/btrieve/BtrieveFixture.h"

using namespace btrieve_test;
using namespace Lib_Data_BTrieve;

namespace {

struct Call {
    uint16_t op;
    uint32_t dataLen;
    uint16_t keyLen;
    std::string key;  // the first 100 bytes of the key buffer
};

}  // namespace

class StatusTable : public BtrieveTest {
protected:
    void SetUp() override {
        BtrieveTest::SetUp();
        for (int16_t file : {20, 22, 32, 34, 35, 55}) {
            PbBBtrFileOpen[0][0][size_t(file)] = true;
            BtrRecordLength[size_t(file)] = int16_t(BtrieveFileDefs[size_t(file)].RecordLength);
        }
        seams::setEngine([this](uint16_t op, char*, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
                                int16_t) -> int16_t {
            calls.push_back({op, *dataLen, keyLen, std::string(key, 100)});
            if (onCall) onCall(data, key);
            // The script plays the requested operation; the fetches in between succeed.
            if (op != scriptOp || script.empty()) return 0;
            const int16_t status = script.front();
            script.pop_front();
            if (status != 0) *dataLen = 0;  // a failed call gives no length back
            return status;
        });
    }
    std::vector<uint16_t> ops() const {
        std::vector<uint16_t> out;
        for (const Call& c : calls) out.push_back(c.op);
        return out;
    }
    size_t reports() const { return linesWith("Err: Fichier :").size(); }
    void run(int16_t op, int16_t file = 55, int32_t station = 1) {
        key = std::string(16, 'K');
        scriptOp = uint16_t(op);
        BTRieve(0, op, key, 0, file, station, "Test:Run");
    }

    std::deque<int16_t> script;
    uint16_t scriptOp = 0;
    std::vector<Call> calls;
    std::function<void(void*, char*)> onCall;
    std::string key;
};

TEST_F(StatusTable, RetryClasses) {
    struct Case {
        const char* what;
        int16_t op;
        std::vector<int16_t> statuses;
        int16_t finalStatus;
        std::vector<int32_t> waits;
        size_t reports;
        size_t engineCalls;
    } cases[] = {
        {"84 for 15 passes", 4, std::vector<int16_t>(15, 84), 0, std::vector<int32_t>(15, 1000), 5, 16},
        {"36 then success", 9, {36, 36}, 0, {1000, 1000}, 0, 3},
        {"85 then success", 9, {85}, 0, {1000}, 0, 2},
        {"80 twice on a delete", 4, {80, 80}, 0, {500, 500}, 0, 5},
        {"80 for good on a delete", 4, std::vector<int16_t>(11, 80), 80, std::vector<int32_t>(10, 500), 0,
         21},
        {"7 for good on a get", 9, std::vector<int16_t>(11, 7), 7, {}, 10, 11},
        {"9 at the end of a get", 9, {9}, 9, {}, 0, 1},
        {"9 on an insert", 2, {9}, 9, {}, 1, 1},
        {"5 on an insert", 2, {5}, 5, {}, 0, 1},
        {"4 on a get equal", 5, {4}, 4, {}, 0, 1},
        {"4 on a delete", 4, {4}, 4, {}, 0, 1},
        {"54 on a get", 9, {54}, 54, {}, 1, 1},
        {"2 on a get", 9, {2}, 2, {}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        script.assign(c.statuses.begin(), c.statuses.end());
        calls.clear();
        sleeps.clear();
        const size_t before = reports();
        run(c.op);
        EXPECT_EQ(PbIBtrStatus, c.finalStatus);
        EXPECT_EQ(sleeps, c.waits);
        EXPECT_EQ(reports() - before, c.reports);
        EXPECT_EQ(calls.size(), c.engineCalls);
        for (const Call& call : calls) {
            EXPECT_EQ(call.dataLen, 500u) << "always the catalogue's record length";
            EXPECT_EQ(call.keyLen, 255);
        }
    }
    EXPECT_EQ(linesWith("Err: BTRieve: Status 80 after 11 tries |File:55 Station:1 OP:04 K:00").size(), 1u);
    EXPECT_EQ(linesWith("Err: BTRieve: Status 7 after 11 tries |File:55 Station:1 OP:09 K:00").size(), 1u);
}

TEST_F(StatusTable, AConflictOnADeleteFetchesTheRecordAgainBeforeEachRetry) {
    script = {80, 80};
    run(4);
    EXPECT_EQ(ops(), (std::vector<uint16_t>{4, 5, 4, 5, 4}));
    EXPECT_EQ(PbIBtrStatus, 0);
}

TEST_F(StatusTable, AKeyChangeOnAGetNextIsSettledByAGetEqual) {
    script = {7};
    run(6);
    EXPECT_EQ(ops(), (std::vector<uint16_t>{6, 5}));
    EXPECT_EQ(PbIBtrStatus, 7);
    EXPECT_EQ(reports(), 0u);

    calls.clear();
    script = {7};
    run(7, 34);
    EXPECT_EQ(ops(), (std::vector<uint16_t>{7})) << "file 34's history walk just ends";
    EXPECT_EQ(PbIBtrStatus, 7);
    EXPECT_EQ(reports(), 0u);
}

TEST_F(StatusTable, KeysSentAndReturned) {
    // An empty key goes as 100 blanks and stays so for the caller.
    std::string empty;
    BTRieve(0, 9, empty, 0, 55, 1, "Test:Run");
    EXPECT_EQ(calls.back().key, std::string(100, ' '));
    EXPECT_EQ(empty, std::string(100, ' '));

    // A get-less-than turns code 255 into "z".
    std::string high = "AB\xFF";
    BTRieve(0, 10, high, 0, 55, 1, "Test:Run");
    EXPECT_EQ(calls.back().key.substr(0, 4), std::string("ABz\0", 4));

    // The engine writes a whole key: the caller's shorter key keeps its length.
    onCall = [](void*, char* k) { std::memset(k, 'X', 255); };
    std::string shortKey = "AB";
    BTRieve(0, 9, shortKey, 0, 55, 1, "Test:Run");
    EXPECT_EQ(shortKey, "XX");

    // The history shows a cleaned copy; the key sent keeps its control bytes.
    onCall = nullptr;
    std::string raw = std::string("\x01\tA", 3) + std::string(13, 'B');
    BTRieve(0, 5, raw, 0, 55, 1, "Test:Run");
    EXPECT_EQ(calls.back().key.substr(0, 3), std::string("\x01\tA", 3));
    EXPECT_EQ(raw.substr(0, 3), std::string("\x01\tA", 3));
    EXPECT_EQ(BtrCallHistory[0][0], "S:00000 File:55 Station:1 OP:05 K:00 [  ABBBBBBBBBBBBB] [Test:Run]");
}

TEST_F(StatusTable, CallsThatNeverReachTheEngine) {
    PbIBtrStatus = 123;
    run(20);
    run(21);
    EXPECT_EQ(PbIBtrStatus, 123) << "no transaction to end";
    EXPECT_TRUE(BtrCallHistory[0][0].empty());

    run(9, 55, 21);
    EXPECT_EQ(PbIBtrStatus, 9);
    run(5, 55, 21);
    EXPECT_EQ(PbIBtrStatus, 4);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text.rfind("N° station hors limite:21\r\n", 0), 0u);
    EXPECT_EQ(BtrCallHistory[0][0], "File:55 Station:21 OP:05 K:00 [KKKKKKKKKKKKKKKK] [Test:Run]")
        << "no status prefix on a refused station";

    key = "K";
    BTRieve(5, 9, key, 0, 55, 1, "Test:Run");
    EXPECT_EQ(PbIBtrStatus, 9);
    BTRieve(0, 9, key, 0, 61, 1, "Test:Run");
    EXPECT_EQ(PbIBtrStatus, 9);
    EXPECT_EQ(linesWith("Err: 9 (Subscript out of range").size(), 2u);
    EXPECT_TRUE(calls.empty());

    run(9, 55, 0);
    EXPECT_EQ(calls.size(), 1u) << "station 0 is taken as station 1";
    EXPECT_NE(BtrCallHistory[0][0].find("Station:1 "), std::string::npos);
}

TEST_F(StatusTable, ABlankCallerLeavesTheHistoryButItsStatus) {
    run(9);
    const std::string before = BtrCallHistory[0][0];
    std::string k(16, '0');
    BTRieve(0, 9, k, 0, 55, 1, "  ");
    EXPECT_EQ(BtrCallHistory[0][0], before);
    EXPECT_EQ(BtrCallHistory[0][1], "");
}

TEST_F(StatusTable, ShutDownEndsTheRetriesUnreported) {
    Abandon = true;
    script = {84, 84};
    run(4);
    EXPECT_EQ(PbIBtrStatus, 84);
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(reports(), 0u);

    PbIBtrStatus = 0;
    run(9, 55, 2);  // station 2 is not open
    EXPECT_EQ(PbIBtrStatus, 20) << "the last success must not stand for this call";
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(BtrCallHistory[0][0].substr(0, 8), "S:00020 ");
    Abandon = false;
}

TEST_F(StatusTable, ASuccessfulReadOfATrackIsCleanedAndTransactionsAreFollowed) {
    onCall = [](void* data, char*) { std::memcpy(static_cast<char*>(data) + 243, "NNNNNNNNNN", 10); };
    run(5, 22);
    EXPECT_EQ(std::string(RecordBuffer(22) + 243, 10), std::string(10, ' '));
    run(4, 22);
    EXPECT_EQ(std::string(RecordBuffer(22) + 243, 10), "NNNNNNNNNN") << "not after a delete";

    onCall = nullptr;
    run(19);
    EXPECT_TRUE(BtrInTransaction);
    calls.clear();
    run(20);
    EXPECT_EQ(ops(), (std::vector<uint16_t>{20}));
    EXPECT_FALSE(BtrInTransaction);
}
