// The cleaning of artist, track and track-detail records after a read.
#include <gtest/gtest.h>

#include <string>

#include "btrieve/FieldCleaning.h"

using Lib_Data_BTrieve::cleanFields;

namespace {

struct Field {
    size_t offset;
    std::string value;
};

std::string record(size_t length, const std::vector<Field>& fields) {
    std::string r(length, ' ');
    for (const Field& f : fields) r.replace(f.offset, f.value.size(), f.value);
    return r;
}

std::string cleaned(int16_t file, std::string r) {
    cleanFields(file, r.data());
    return r;
}

}  // namespace

TEST(FieldCleaning, Artists) {
    struct {
        const char* what;
        std::vector<Field> in;
        Field expected;
    } cases[] = {
        {"1 marks the flag", {{145, "1"}, {264, "N"}}, {264, "1"}},
        {"2 marks it O", {{145, "2"}, {264, "N"}}, {264, "O"}},
        {"the marker is cleared", {{145, "2"}}, {145, " "}},
        {"curly quotes in the name",
         {{15,
           "L\x92\x91"
           "A\x60"}},
         {15, "L''A'"}},
        {"a number in the code is blanked", {{194, " 12.5       "}}, {194, "            "}},
        {"NULs in a code become blanks", {{194, std::string("AB\0\0\x93", 5)}}, {194, "AB  '"}},
        {"the second name's bullet", {{146, "\x95x"}}, {146, "'x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleaned(20, record(300, c.in)).substr(c.expected.offset, c.expected.value.size()),
                  c.expected.value)
            << c.what;
}

TEST(FieldCleaning, Tracks) {
    struct {
        const char* what;
        std::vector<Field> in;
        Field expected;
    } cases[] = {
        {"rotation without a known letter", {{453, "xyz9 "}}, {453, "KKKKK"}},
        {"rotation with a known letter", {{453, "xxbxx"}}, {453, "xxbxx"}},
        {"title quotes", {{23, "\x93Hi\x94"}}, {23, "'Hi'"}},
        {"ten N blanked", {{243, "NNNNNNNNNN"}}, {243, "          "}},
        {"forty zeros blanked", {{289, std::string(40, '0')}}, {289, std::string(40, ' ')}},
        {"NULs then zeros",
         {{289, std::string(39, '0') + std::string(1, '\0')}},
         {289, std::string(39, '0') + " "}},
        {"no tempo", {{465, "ab"}}, {465, "00"}},
        {"a tempo", {{465, "07"}}, {465, "07"}},
        {"O at 856 sets 107", {{856, "O"}, {107, "N"}}, {107, "1"}},
        {"an odd 107", {{107, "x"}}, {107, "N"}},
        {"a .S4 extension", {{536, ".S4"}}, {536, "N00"}},
        {"odd fade", {{229, "x"}, {230, "12"}, {232, "34"}, {234, "56"}}, {229, "N000000"}},
        {"fade O kept", {{229, "O"}, {230, "12"}}, {229, "O12"}},
        {"category digits kept", {{645, "123ABCDE"}}, {645, "123ABCDE"}},
        {"category word kept", {{653, "RUBxxxxx"}}, {653, "RUBxxxxx"}},
        {"unknown category blanked", {{661, "ZZZxxxxx"}}, {661, "        "}},
        {"days", {{437, "NxN N"}}, {437, "NONON"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleaned(22, record(900, c.in)).substr(c.expected.offset, c.expected.value.size()),
                  c.expected.value)
            << c.what;
}

TEST(FieldCleaning, TrackDetailsAndOtherFiles) {
    EXPECT_EQ(cleaned(32, record(250, {{8, "03"}, {10, "\x92"}})).substr(10, 1), "'");
    EXPECT_EQ(cleaned(32, record(250, {{0, "ART"}, {8, "03"}, {10, "\x92"}})).substr(10, 1), "\x92");
    EXPECT_EQ(cleaned(32, record(250, {{8, "04"}, {10, "\x92"}})).substr(10, 1), "\x92");
    const std::string other = record(500, {{0, "\x92\0"}});
    EXPECT_EQ(cleaned(55, other), other);
}
