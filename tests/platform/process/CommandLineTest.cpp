// A Windows parameter text becomes the argument list a Windows program would read from it.
#include <gtest/gtest.h>

#include "platform/process/CommandLine.h"

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAsWindowsProgramsRead) {
    const struct {
        const char* text;
        Args args;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"/Base=Current /Veille=True", {"/Base=Current", "/Veille=True"}},
        {"  a\t b  ", {"a", "b"}},
        {"\"C:\\Program Files\\x.txt\" /p", {"C:\\Program Files\\x.txt", "/p"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\"", {""}},
        {"\\\\server\\share", {"\\\\server\\share"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\"b", {"a\"b"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"$(rm -rf x);|&", {"$(rm", "-rf", "x);|&"}},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::process::splitCommandLine(c.text), c.args) << c.text;
}
