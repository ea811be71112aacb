// The key length diagnostic: which keys are reported, and the text it logs.
#include <gtest/gtest.h>

#include "btrieve/KeyCheck.h"
#include "tests/btrieve/BtrieveFixture.h"

using namespace btrieve_test;
using Lib_Data_BTrieve::BTrieveTestCle;

class KeyCheck : public BtrieveTest {};

TEST_F(KeyCheck, WhichKeysAreReported) {
    struct {
        int16_t op, file, keyNum;
        size_t length;
        bool reported;
    } cases[] = {
        {9, 55, 0, 16, false}, {9, 55, 0, 15, true},   {9, 20, 0, 0, true},     {19, 20, 0, 0, false},
        {20, 20, 0, 0, false}, {21, 20, 0, 0, false},  {1019, 20, 0, 0, false}, {5, 20, 1, 3, false},
        {5, 20, 1, 2, true},   {5, 36, 3, 0, false},   {5, 7, 4, 0, false},     {5, 50, 0, 0, false},
        {5, 18, 1, 15, true},  {5, 59, 0, 100, false}, {5, 60, 0, 0, false},    {5, -1, 0, 0, false},
    };
    for (const auto& c : cases) {
        const size_t before = linesWith("Err: Key too short").size();
        BTrieveTestCle(c.op, std::string(c.length, 'k'), c.keyNum, c.file, "Test:Key");
        EXPECT_EQ(linesWith("Err: Key too short").size() - before, c.reported ? 1u : 0u)
            << "op " << c.op << " file " << c.file << " key " << c.keyNum << " length " << c.length;
    }
}

TEST_F(KeyCheck, TheLineCarriesTheKeyUnchangedAndIsAnIncident) {
    BTrieveTestCle(9, std::string("ab\ncd\x01", 6), 0, 55, "Frm_Main:Drain");
    const auto lines = linesWith("Err: Key too short");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Err: Key too short: NoFile: 55 Key: 0 Lng: 6 OP: 9\n"
                            "Key:ab\ncd\x01 Sub: Frm_Main:Drain"),
              std::string::npos);
    ASSERT_EQ(main.incidents.size(), 1u);
    EXPECT_NE(main.incidents[0].find("Err: Key too short: NoFile: 55"), std::string::npos);
}
