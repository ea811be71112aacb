// Outside text shown with its control characters visible, so it stays on its own log line.
#include <gtest/gtest.h>

#include "foundation/LogText.h"

TEST(LogText, ControlCharactersBecomeVisibleAndEverythingElseStays) {
    using namespace std::string_literals;
    const struct { std::string text, shown; } cases[] = {
        {"<NoStation:3><CurrLib:Caf\xc3\xa9 \xe2\x82\xac>", "<NoStation:3><CurrLib:Caf\xc3\xa9 \xe2\x82\xac>"},
        {"a\r\n15:00:00:000 : : : :    :Err: forged", "a<CRLF>15:00:00:000 : : : :    :Err: forged"},
        {"a\rb\nc\n\rd", "a<CR>b<LF>c<LF><CR>d"},
        {"\r\n\r\n", "<CRLF><CRLF>"},
        {"end\r", "end<CR>"},
        {"nul\0here"s, "nul\\x00here"},
        {"\t\x1b[31m\x7f", "\\x09\\x1B[31m\\x7F"},
        {"next\xc2\x85line \xc2\x9f \xc2\xa0", "next\\x85line \\x9F \xc2\xa0"},  // C1 only; NBSP stays
        {"C:\\Musique\\<CRLF>", "C:\\Musique\\<CRLF>"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const std::string shown = logtext::visible(c.text);
        EXPECT_EQ(shown, c.shown) << c.text;
        EXPECT_EQ(shown.find_first_of("\r\n"), std::string::npos);
    }
}
