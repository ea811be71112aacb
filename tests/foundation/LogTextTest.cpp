// Outside text shown with its control characters visible, so it stays on its own log line.
#include <gtest/gtest.h>

#include <random>

#include "foundation/LogText.h"

namespace {

// Reads a shown text back as a reader of the log would: each form stands for one text only.
std::string readBack(const std::string& shown) {
    std::string text;
    for (size_t i = 0; i < shown.size();) {
        const std::string_view rest = std::string_view(shown).substr(i);
        auto hex = [](char c) { return c >= 'A' ? c - 'A' + 10 : c - '0'; };
        auto isHex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
        if (rest.starts_with("<CRLF>")) {
            text += "\r\n";
            i += 6;
        } else if (rest.starts_with("<CR>") || rest.starts_with("<LF>")) {
            text += rest[1] == 'C' ? '\r' : '\n';
            i += 4;
        } else if (rest.size() >= 4 && rest[0] == '\\' && rest[1] == 'x' && isHex(rest[2]) &&
                   isHex(rest[3])) {
            const unsigned code = unsigned(hex(rest[2]) * 16 + hex(rest[3]));
            // The C1 controls were UTF-8 pairs in the text.
            if (code >= 0x80) text += '\xC2';
            text += char(code);
            i += 4;
        } else {
            text += shown[i++];
        }
    }
    return text;
}

}  // namespace

TEST(LogText, ControlCharactersBecomeVisibleAndEverythingElseStays) {
    using namespace std::string_literals;
    const struct {
        std::string text, shown;
    } cases[] = {
        {"<NoStation:3><CurrLib:Caf\xc3\xa9 \xe2\x82\xac>",
         "<NoStation:3><CurrLib:Caf\xc3\xa9 \xe2\x82\xac>"},
        {"a\r\n15:00:00:000 : : : :    :Err: forged", "a<CRLF>15:00:00:000 : : : :    :Err: forged"},
        {"a\rb\nc\n\rd", "a<CR>b<LF>c<LF><CR>d"},
        {"\r\n\r\n", "<CRLF><CRLF>"},
        {"end\r", "end<CR>"},
        {"nul\0here"s, "nul\\x00here"},
        {"\t\x1b[31m\x7f", "\\x09\\x1B[31m\\x7F"},
        {"next\xc2\x85line \xc2\x9f \xc2\xa0", "next\\x85line \\x9F \xc2\xa0"},  // C1 only; NBSP stays
        {"C:\\Musique\\Titre.mp3", "C:\\Musique\\Titre.mp3"},
        {"", ""},
        // Text that would read as a shown control character is shown as its own characters.
        {"peer\\x0D", "peer\\x5Cx0D"},
        {"C:\\Musique\\<CRLF>", "C:\\Musique\\\\x3CCRLF>"},
        {"<CR><LF>", "\\x3CCR>\\x3CLF>"},
        {"\\x0d \\xZZ \\x4", "\\x0d \\xZZ \\x4"},  // no code: lower case, not hex, too short
        {"<CRX> <CR", "<CRX> <CR"},
    };
    for (const auto& c : cases) {
        const std::string shown = logtext::visible(c.text);
        EXPECT_EQ(shown, c.shown) << c.text;
        EXPECT_EQ(shown.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(readBack(shown), c.text) << shown;
    }
}

// Texts built from the pieces that collide: whatever they hold, they read back as sent.
TEST(LogText, EveryShownTextReadsBackAsTheTextSent) {
    const std::string pieces[] = {"\\", "x",  "0",  "D",        "<", "CR",    "LF",    ">",
                                  "\r", "\n", "\t", "\xc2\x85", "a", "\\x5C", "<CRLF>"};
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1), length(0, 12);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (size_t n = length(random); n > 0; --n) text += pieces[piece(random)];
        const std::string shown = logtext::visible(text);
        ASSERT_EQ(readBack(shown), text) << shown;
    }
}
