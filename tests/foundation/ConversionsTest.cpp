// Lib_Public's conversions: leading numbers, tags, fixed-width numbers, dates, text cleaning.
#include <gtest/gtest.h>

#include <limits>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/LogBuffers.h"
#include "tests/support/DesktopLocale.h"

using namespace Lib_Public;
using platform::LocalClockTime;

namespace {

LocalClockTime date(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return platform::timeOf({.year = y, .month = m, .day = d, .hour = h, .minute = mi, .second = s});
}

bool logHolds(const std::string& piece) {
    for (const std::string& line : logbuffers::earlyBuffer())
        if (line.find(piece) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(Conversions, LeadingNumberRoundsHalvesToEven) {
    const struct {
        std::string text;
        int32_t whole;
    } cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"abc", 0},
        {"12abc", 12},
        {"", 0},
        {" - 7 ", -7},
        {"1 2 3", 123},
        {"-2.5", -2},
        {"0.5x", 0},
        {"1.5.5", 2},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
        {std::string(400, '9'), 2147483647},
        {"+4", 4},
        {".", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(VBA::ValLong(c.text), c.whole) << c.text;
    EXPECT_EQ(VBA::ValInt("40000"), 32767);
    EXPECT_EQ(VBA::ValInt("-40000"), -32768);
}

// Exponents and the "&H"/"&O" prefixes as VB reads them, and the same figures whatever the
// locale the C library and Qt were switched to.
TEST(Conversions, ValReadsExponentsAndRadixPrefixesInEveryLocale) {
    const double largest = std::numeric_limits<double>::max();
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"2E1", 20},
        {"2e1", 20},
        {"1e30", 1e30},
        {"2.5E-1", 0.25},
        {"-1.5e+2", -150},
        {"1D2", 100},
        {"3d-1", 0.3},
        {" 2 E 1 ", 20},
        {"2E", 2},
        {"2E+", 2},
        {"2Ex", 2},
        {"E5", 0},
        {".5e1", 5},
        {"5.e1", 50},
        {"1e400", largest},
        {"-1e400", -largest},
        {"1e-400", 0},
        {"0e999", 0},
        {"3.5", 3.5},
        {"3,5", 3},
        {"&H10", 16},
        {"&h1f", 31},
        {"&HFFFF", -1},
        {"&H8000", -32768},
        {"&H7FFF", 32767},
        {"&H10000", 65536},
        {"&HFFFF&", 65535},
        {"&HFFFFFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&H100000000", 4294967296.0},
        {"&H1G", 1},
        {"&H", 0},
        {"&HG", 0},
        {"& H 1 0", 16},
        {"&O17", 15},
        {"&o777", 511},
        {"&O177777", -1},
        {"&O8", 0},
        {"&X10", 0},
        {"-&H10", 0},
        {"2&H10", 2},
    };
    for (const char* locale : {"C.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8"}) {
        support::DesktopLocale desktop(locale);
        for (const auto& c : cases) EXPECT_EQ(VBA::Val(c.text), c.value) << c.text << " in " << locale;
    }
}

// A station number or a setting written with an exponent is held to the type, never wrapped.
TEST(Conversions, ValLongAndValIntHoldExponentsToTheirRange) {
    const struct {
        const char* text;
        int32_t asLong;
        int16_t asInt;
    } cases[] = {
        {"1e30", 2147483647, 32767},        {"-1e30", -2147483647 - 1, -32768}, {"1e400", 2147483647, 32767},
        {"4.2949673e9", 2147483647, 32767}, {"6.5536e4", 65536, 32767},         {"2E1", 20, 20},
        {"&H100000000", 2147483647, 32767}, {"&HFFFF&", 65535, 32767},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VBA::ValLong(c.text), c.asLong) << c.text;
        EXPECT_EQ(VBA::ValInt(c.text), c.asInt) << c.text;
    }
}

TEST(Conversions, CharacterPositionsNotBytes) {
    EXPECT_EQ(VBA::Len("été"), 3);
    EXPECT_EQ(VBA::Mid("éàç€x", 4, 1), "€");
    EXPECT_EQ(VBA::Right("abcé", 2), "cé");
    EXPECT_EQ(VBA::InStr(1, "ÉTÉ <NoStation:3>", "<nostation:", true), 5);
    EXPECT_EQ(VBA::InStr(1, "été", "ÉTÉ", true), 1);
}

TEST(Conversions, ExtraireBalise) {
    const struct {
        const char* message;
        const char* tag;
        const char* expected;
    } cases[] = {
        {"<NoStation:3>", "<NoStation:", "3"},
        {"<x:1><nostation:42><y:2>", "<NoStation:", "42"},
        {"<NoStation:1><NoStation:2>", "<NoStation:", "1"},
        {"<NoStation:>", "<NoStation:", ""},      // empty value, not the default
        {"<NoStation:3", "<NoStation:", "dflt"},  // no closing ">"
        {"   ", "<NoStation:", "dflt"},
        {"", "<NoStation:", "dflt"},
        {"<Other:1>", "<NoStation:", "dflt"},
        {"<Titre:Été à Paris>", "<titre:", "Été à Paris"},
        {"<Titre: a&amp;b >", "<Titre:", " a&amp;b "},  // nothing trimmed or unescaped
    };
    for (const auto& c : cases) EXPECT_EQ(ExtraireBalise(c.message, c.tag, "dflt"), c.expected) << c.message;
}

TEST(Conversions, ExtraireBaliseWithClosingInsideTagReportsAndGivesDefault) {
    EXPECT_EQ(ExtraireBalise("<a>b>", "<a>b", "dflt"), "dflt");
    EXPECT_TRUE(logHolds("Lib_Public:ExtraireBalise"));
}

TEST(Conversions, N2S) {
    const struct {
        double value;
        int16_t width, decimals;
        const char* pad;
        const char* expected;
    } cases[] = {
        {7, 2, 0, "0", "07"},
        {7, 4, 0, "0", "0007"},
        {12345, 3, 0, "0", "345"},
        {-5, 3, 0, "0", "-05"},
        {-123, 3, 0, "0", "-123"},
        {-5, 4, 0, " ", "  -5"},
        {123.5, 4, 0, "0", "0124"},
        {124.5, 4, 0, "0", "0124"},
        {2.5, 1, 0, "0", "2"},
        {7, 3, 0, "", "  7"},
        {45, 3, 0, "0", "045"},
        {0, 3, 0, "0", "000"},
        {1e12, 10, 0, "0", "2147483647"},
        // Decimals: the scaled value rounded half to even, no bias.
        {3.14159, 6, 2, "0", "003.14"},
        {0.1234, 4, 2, "0", "0.12"},
        {0.1234, 5, 2, " ", " 0.12"},
        {0.126, 4, 2, "0", "0.13"},
        {2.5, 5, 1, " ", "  2.5"},
        {0.25, 4, 1, " ", " 0.2"},
        {-0.5, 4, 1, " ", "-0.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(N2S(c.value, c.width, c.decimals, c.pad), c.expected)
            << c.value << " w" << c.width << " d" << c.decimals;
}

TEST(Conversions, N2SWidthTooSmallForDecimalsReportsAndKeepsDigits) {
    EXPECT_EQ(N2S(12.5, 2, 2, "0"), "50");
    EXPECT_TRUE(logHolds("Lib_Public:N2S (Value: 12.5)"));
}

TEST(Conversions, DatesAsText) {
    EXPECT_EQ(D2S(date(2024, 3, 5)), "20240305");
    EXPECT_EQ(D2S(date(2024, 1, 31, 23, 59, 59)), "20240131");
    const struct {
        const char* text;
        LocalClockTime expected;
    } cases[] = {
        {"20240305", date(2024, 3, 5)},     {"20241301", date(2025, 1, 1)},  {"20240300", date(2024, 2, 29)},
        {"20240132", date(2024, 2, 1)},     {"20240001", date(2023, 12, 1)}, {"2024 3 5", date(2024, 3, 5)},
        {"20240131xyz", date(2024, 1, 31)}, {"2e030101", date(2000, 1, 1)},
    };
    for (const auto& c : cases) EXPECT_EQ(S2D(c.text), c.expected) << c.text;
}

TEST(Conversions, S2DOfImpossibleDateGivesNullDateAndReport) {
    for (const char* text : {"99999999", "abc", "", "00000101", "-9990101", "9e990101", "-1e90101"}) {
        logbuffers::earlyBuffer().clear();
        EXPECT_EQ(S2D(text), nullDate()) << text;
        EXPECT_TRUE(logHolds("Lib_Public:S2D")) << text;
    }
    EXPECT_EQ(D2S(nullDate()), "18991230");
}

TEST(Conversions, Date2StringEx) {
    const LocalClockTime t = date(2024, 1, 31, 1, 5, 9);
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"HH:MM:SS", "01:05:09"},
        {"YYYYMMDD_HH", "20240131_01"},
        {"   ", "01:05:09"},
        {"dd/MM/yyyy", "31/01/2024"},
        {"hh mm", "01 05"},
        {"MM-dd", "01-31"},
        {"yyyy-mm-dd hh:mm:ss", "2024-01-31 01:05:09"},
        {"[x]", "[x]"},
    };
    for (const auto& c : cases) EXPECT_EQ(Date2StringEx(t, c.format), c.expected) << c.format;
    EXPECT_EQ(Date2StringEx(date(2024, 1, 1, 7, 3, 9), ""), "07:03:09");
    EXPECT_EQ(Date2StringEx(date(2024, 1, 1, 23, 0, 0), "hh"), "23");
}

TEST(Conversions, Date2StringExCountsWeeksFromSundayWithTheFirstHolding1January) {
    const struct {
        LocalClockTime day;
        const char* expected;
    } cases[] = {
        {date(2024, 1, 1), "1 2"},                             // a Monday: week 1 began the Sunday before
        {date(2024, 1, 6), "1 7"},                             // the Saturday still in week 1
        {date(2024, 1, 7), "2 1"},                             // the first Sunday opens week 2
        {date(2023, 1, 1), "1 1"},                             // a Sunday 1 January
        {date(2023, 1, 8), "2 1"}, {date(2022, 1, 1), "1 7"},  // a Saturday 1 January: week 1 is one day long
        {date(2022, 1, 2), "2 1"}, {date(2024, 12, 31), "53 3"},  // a leap year ending on a Tuesday
    };
    for (const auto& c : cases) EXPECT_EQ(Date2StringEx(c.day, "ww w"), c.expected) << c.expected;
    EXPECT_EQ(Date2StringEx(date(2024, 1, 7, 9, 5), "yyyy-WW hh:mm"), "2024-2 09:05");
}

TEST(Conversions, CalibreAndCheckRep) {
    std::string pad = "x";
    EXPECT_EQ(Calibre("abc", pad, 5), "abcxx");
    pad = " ";
    EXPECT_EQ(Calibre("abcdef", pad, 4), "abcd");
    pad = "";
    EXPECT_EQ(Calibre("é", pad, 3), "é  ");
    EXPECT_EQ(pad, " ");
    EXPECT_EQ(Calibre("abc", pad, 0), "");
    EXPECT_EQ(Calibre("abc", pad, -1), "");
    EXPECT_TRUE(logHolds("Lib_Public:Calibre"));

    EXPECT_EQ(CheckRep(""), "");
    EXPECT_EQ(CheckRep("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(CheckRep("C:\\Data\\"), "C:\\Data\\");
    EXPECT_EQ(CheckRep("  "), "  \\");
}

TEST(Conversions, ClearChaineBlanksControlsAndHighLetters) {
    std::string text = "a\tü é û\x01ÿ€日";
    EXPECT_EQ(ClearChaine(text), "a   é û  €日");
    EXPECT_EQ(text, "a   é û  €日");
    EXPECT_EQ(VBA::Len(text), 11);
}

TEST(Conversions, RemoveAccent) {
    EXPECT_EQ(RemoveAccent("Cœur Élève"), "Coeur Eleve");
    EXPECT_EQ(RemoveAccent("ŒUVRE"), "OeUVRE");
    EXPECT_EQ(RemoveAccent("ŒUVRE œuvre"), "oeUVRE oeuvre");
    EXPECT_EQ(RemoveAccent("Ça côté ÿŸšŽ"), "Ca cote yYsZ");
    EXPECT_EQ(RemoveAccent("ØÆß°"), "ØÆß°");
    EXPECT_EQ(RemoveAccent("   "), "");
    // Outside Windows-1252: the Latin base letter, or the character kept; never another letter.
    EXPECT_EQ(RemoveAccent("Łódź Őrség ą 日本"), "Łodz Orseg a 日本");
    // Decomposed text (a letter followed by its diacritic, as some file names come).
    EXPECT_EQ(RemoveAccent("E\u0301le\u0300ve"), "Eleve");

    EXPECT_EQ(RemoveAccent("a+b:c", true), "a b c");
    EXPECT_EQ(RemoveAccent("a+b:c", true, false, true), "a b:c");
    EXPECT_EQ(RemoveAccent("x@y-z'w+v", true, true, false, true, true, true), "x@y-z'w+v");
    EXPECT_EQ(RemoveAccent("a\"b", true), "a b");
    EXPECT_EQ(RemoveAccent("a+-b", true), "a b");    // two blanks become one
    EXPECT_EQ(RemoveAccent("a+-&b", true), "a  b");  // three become two, in one pass
}

TEST(Conversions, RemoveAccentThatLeavesNothingLogsAndKeepsTheUnfoldedText) {
    logbuffers::earlyBuffer().clear();
    const std::string diacritics = " \u0301\u0308 ";
    EXPECT_EQ(RemoveAccent(diacritics), diacritics);
    EXPECT_TRUE(logHolds("Err: RemoveAccent: " + diacritics));

    logbuffers::earlyBuffer().clear();
    EXPECT_EQ(RemoveAccent("é"), "e");
    EXPECT_FALSE(logHolds("RemoveAccent"));
}

TEST(Conversions, EclateRepFicExt) {
    const struct {
        const char* path;
        const char* rep;
        const char* fic;
        const char* ext;
    } cases[] = {
        {"C:\\AudioLog\\20240131.Log", "C:\\AudioLog\\", "20240131", ".Log"},
        {"a.b.c", "", "a.b", ".c"},
        {"C:\\dir\\", "C:\\dir\\", "", ""},
        {"readme", "", "readme", ""},
        {"   ", "", "", ""},
        {"  C:\\x\\été.wav ", "C:\\x\\", "été", ".wav"},
        {"\\a.b", "\\", "a", ".b"},
        {"C:\\v1.2\\file", "C:\\v1.2\\", "file", ""},
        {".bashrc", ".bashrc", "", ".bashrc"},  // the scan ran past the first character
    };
    for (const auto& c : cases) {
        EclateRepFicExt(c.path, "\\");
        EXPECT_EQ(PbTRepFicExt.Rep, c.rep) << c.path;
        EXPECT_EQ(PbTRepFicExt.Fic, c.fic) << c.path;
        EXPECT_EQ(PbTRepFicExt.Ext, c.ext) << c.path;
    }
}

TEST(Conversions, NettoieNomDeDossier) {
    const struct {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Sons/Jingles?\\..\\Pub", "C:\\Sons Jingles\\\\Pub"},
        {"C:\\a:b", "C:\\a b"},
        {"C:", "C:"},
        {"a:", "a:"},
        {"C:\\a...b%c", "C:\\abc"},
        {"C:\\a   b", "C:\\a b"},
        {"C:\\a  \\b", "C:\\a\\b"},
    };
    for (const auto& c : cases) EXPECT_EQ(NettoieNomDeDossier(c.path), c.expected) << c.path;
}

TEST(Conversions, CheckValiditeValeurMin) {
    const struct {
        int32_t value, minimum, expected;
    } cases[] = {{100, 500, 500}, {-1, 0, 0}, {600, 500, 600}, {500, 500, 500}};
    for (const auto& c : cases) {
        int32_t v = c.value;
        CheckValiditeValeurMin(v, c.minimum);
        EXPECT_EQ(v, c.expected);
    }
}

TEST(Conversions, NbSecondes2String) {
    const struct {
        double seconds;
        const char* expected;
    } cases[] = {
        {90061, "1 J 1 H 1 Min 1 Sec"},
        {86405, "1 J 0 H 0 Min 5 Sec"},
        {3725, "1 H 2 Min 5 Sec"},
        {59, "0 Min 59 Sec"},
        {0, "0 Min 0 Sec"},
        {3600, "1 H 0 Min 0 Sec"},
        {59.5, "1 Min 0 Sec"},
        {58.5, "0 Min 58 Sec"},
    };
    for (const auto& c : cases) EXPECT_EQ(Lib_Email::NbSecondes2String(c.seconds), c.expected);
}
