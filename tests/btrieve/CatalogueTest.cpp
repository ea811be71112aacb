// The catalogue: file names, the create specification's wire form, and its keys' invariants.
#include <gtest/gtest.h>

#include "btrieve/Catalogue.h"
#include "btrieve/KeyCheck.h"

using namespace Lib_Data_BTrieve;

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override { Lib_Data_BTrieve_2::InitGeneralData(); }
};

TEST_F(Catalogue, FileNames) {
    struct {
        int16_t file, instance;
        const char* name;
    } cases[] = {
        {55, 0, "FRADA55.bt6"}, {55, 1, "FRADB55.bt6"}, {55, 19, "FRADT55.bt6"}, {59, 0, "FRAD059.bt6"},
        {59, 7, "FRAD059.bt6"}, {37, 3, "FRAD037.bt6"}, {20, 2, "FRADC20.bt6"},  {0, 0, "FRAD000.bt6"},
    };
    for (const auto& c : cases) EXPECT_EQ(NomFichierBTR(c.file, c.instance), c.name) << c.file;
    EXPECT_EQ(BtrieveFileDefs[55].baseName, "FRAD055 ");
    EXPECT_EQ(BtrieveFileDefs[55].Description, "V.2017 Dialogue Player --> Relaytone");
    EXPECT_EQ(BtrieveFileDefs[47].SecondFlag, "O");
    EXPECT_EQ(BtrieveFileDefs[20].SecondFlag, "N");
    for (int16_t empty : {8, 18, 50, 51, 52, 53, 54, 56, 57, 58, 60})
        EXPECT_TRUE(BtrieveFileDefs[size_t(empty)].baseName.empty()) << empty;
}

TEST_F(Catalogue, OutOfRangeNamesAreRefusedNotInvented) {
    EXPECT_EQ(NomFichierBTR(61, 0), "");
    EXPECT_EQ(NomFichierBTR(-1, 0), "");
    EXPECT_EQ(NomFichierBTR(55, 20), "");
    EXPECT_EQ(NomFichierBTR(55, -1), "");
}

TEST_F(Catalogue, SpecificationOfFile55IsTheGolden160Bytes) {
    BtrieveFileSpec = {};
    InitStructureFichierBTR(55, true);
    std::array<unsigned char, 160> golden{};
    golden[0] = 0xF4, golden[1] = 0x01;  // record length 500
    golden[2] = 0x00, golden[3] = 0x04;  // page size 1024
    golden[4] = 0x01;                    // one key
    golden[10] = 0x08;                   // data compression
    golden[16] = 0x01;                   // key 0: position 1
    golden[18] = 0x10;                   // length 16
    golden[20] = 0x02;                   // modifiable
    EXPECT_EQ(BtrieveFileSpec, golden);

    InitStructureFichierBTR(55, false);
    EXPECT_EQ(BtrieveFileSpec[10], 0);
}

TEST_F(Catalogue, SpecificationOfFile20CarriesFiveSegmentsForFourKeys) {
    BtrieveFileSpec = {};
    InitStructureFichierBTR(20, true);
    auto word = [](size_t at) { return BtrieveFileSpec[at] | (BtrieveFileSpec[at + 1] << 8); };
    EXPECT_EQ(word(4), 4);
    const int expected[5][3] = {{1, 5, 2}, {6, 10, 3}, {16, 20, 1027}, {46, 1, 19}, {16, 20, 3}};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(word(16 + 16 * k), expected[k][0]) << k;
        EXPECT_EQ(word(18 + 16 * k), expected[k][1]) << k;
        EXPECT_EQ(word(20 + 16 * k), expected[k][2]) << k;
    }
    for (size_t at = 16 + 16 * 5; at < 160; ++at) EXPECT_EQ(BtrieveFileSpec[at], 0) << at;
}

// Every fully described entry: segments make up exactly its keys, lie inside the record, and
// give each key the length the key-length table expects (two known differences).
TEST_F(Catalogue, FullEntriesAgreeWithTheKeyLengthTable) {
    const int16_t full[] = {20, 21, 22, 26, 31, 32, 37, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 55, 59};
    for (int16_t no : full) {
        const BtrieveFileDef& def = BtrieveFileDefs[size_t(no)];
        std::vector<int32_t> lengths;
        int32_t current = 0;
        for (const BtrieveSegment& s : def.Segments) {
            if (s.byteLength == 0) break;
            EXPECT_GE(s.Position, 1) << no;
            EXPECT_LE(s.Position + s.byteLength - 1, def.RecordLength) << no;
            current += s.byteLength;
            if (!(s.Flags & 16)) {
                lengths.push_back(current);
                current = 0;
            }
        }
        EXPECT_EQ(current, 0) << "file " << no << " ends inside a segmented key";
        ASSERT_EQ(int32_t(lengths.size()), def.keyCount) << no;
        for (int16_t k = 0; k < def.keyCount; ++k) {
            int32_t wanted = minimumKeyLength(no, k);
            if (no == 20 && k == 1) wanted = 10;  // the table asks only 3
            if (no == 59) wanted = 200;           // the table asks only 100
            EXPECT_EQ(lengths[size_t(k)], wanted) << "file " << no << " key " << k;
        }
        EXPECT_EQ(minimumKeyLength(no, int16_t(def.keyCount)), -1) << no;
    }
}
