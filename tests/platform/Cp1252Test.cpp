// Windows-1252 at the boundaries: the 0x80-0x9F block, Latin-1 letters, unmappable text.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace cp = platform::cp1252;

TEST(Cp1252, RoundTripsTheCharactersItHolds) {
    const struct { std::string bytes, utf8; } cases[] = {
        {"\xE9t\xE9", "été"},      {"\x80", "€"},   {"\x9C", "œ"},
        {"\x8C\x9F", "Œ\u0178"},   {"abc", "abc"},  {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp::toUtf8(c.bytes), c.utf8);
        EXPECT_EQ(cp::fromUtf8(c.utf8), c.bytes);
    }
}

TEST(Cp1252, UnmappableBecomesQuestionMarkAndStrayBytesSurvive) {
    EXPECT_EQ(cp::fromUtf8("日本"), "??");
    EXPECT_EQ(cp::fromUtf8("\xE9"), "\xE9");   // a lone Windows-1252 byte stays as it is
    EXPECT_EQ(cp::fromUtf8("\xC3"), "\xC3");   // truncated sequence
    EXPECT_EQ(cp::decodeUtf8("\xF0\x9F\x8E\xB5").size(), 1u);
}
