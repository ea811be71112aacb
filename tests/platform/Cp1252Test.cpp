// Windows-1252 at the boundaries: the 0x80-0x9F block, Latin-1 letters, unmappable text.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace cp = platform::cp1252;

TEST(Cp1252, RoundTripsTheCharactersItHolds) {
    const struct {
        std::string bytes, utf8;
    } cases[] = {
        {"\xE9t\xE9", "été"},    {"\x80", "€"},  {"\x9C", "œ"},
        {"\x8C\x9F", "Œ\u0178"}, {"abc", "abc"}, {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp::toUtf8(c.bytes), c.utf8);
        EXPECT_EQ(cp::fromUtf8(c.utf8), c.bytes);
    }
}

TEST(Cp1252, UnmappableBecomesQuestionMarkAndStrayBytesSurvive) {
    EXPECT_EQ(cp::fromUtf8("日本"), "??");
    EXPECT_EQ(cp::fromUtf8("\xE9"), "\xE9");  // a lone Windows-1252 byte stays as it is
    EXPECT_EQ(cp::fromUtf8("\xC3"), "\xC3");  // truncated sequence
    EXPECT_EQ(cp::decodeUtf8("\xF0\x9F\x8E\xB5").size(), 1u);
}

// Bytes that only look like a sequence are taken one by one as Windows-1252, as a stray byte is:
// no hidden "/" or "." from an overlong form, no surrogate, nothing past U+10FFFF.
TEST(Cp1252, SequencesThatNameNoCharacterAreTakenByteByByte) {
    const struct {
        std::string utf8;
        std::u32string decoded;
    } cases[] = {
        {"\xC0\xAF", U"\u00C0\u00AF"},                      // "/" in two bytes
        {"\xE0\x80\xAF", U"\u00E0\u20AC\u00AF"},            // "/" in three
        {"\xE0\x9F\xBF", U"\u00E0\u0178\u00BF"},            // U+07FF in three
        {"\xF0\x8F\xBF\xBF", U"\u00F0\u008F\u00BF\u00BF"},  // U+FFFF in four
        {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC"},            // the first surrogate
        {"\xED\xBF\xBF", U"\u00ED\u00BF\u00BF"},            // the last one
        {"\xF4\x90\x80\x80", U"\u00F4\u0090\u20AC\u20AC"},  // U+110000
        {"\xE0\xA0\x80", U"\u0800"},                        // the edges that are characters
        {"\xED\x9F\xBF", U"\uD7FF"},
        {"\xEE\x80\x80", U"\uE000"},
        {"\xF0\x90\x80\x80", U"\U00010000"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp::decodeUtf8(c.utf8), c.decoded) << cp::encodeUtf8(c.decoded);
        EXPECT_EQ(cp::encodeUtf8(cp::decodeUtf8(c.utf8)), cp::encodeUtf8(c.decoded));
    }
    // Written back to Windows-1252, such bytes come out as they came in.
    EXPECT_EQ(cp::fromUtf8("a\xC0\xAF"
                           "b"),
              "a\xC0\xAF"
              "b");
    EXPECT_EQ(cp::fromUtf8("\xED\xA0\x80"), "\xED\xA0\x80");
}
