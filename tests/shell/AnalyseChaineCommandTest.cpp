// The command line: switch values, instance bounds, the default base and its log lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "platform/Clock.h"
#include "shell/AnalyseChaineCommand.h"
#include "tests/support/TempSite.h"

namespace {

bool logged(const std::string& text) {
    const auto& lines = logbuffers::earlyBuffer();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0;
    });
}

class CommandLine : public support::SiteTest {
protected:
    void SetUp() override {
        logbuffers::earlyBuffer().clear();
        PbINoInstance = 0;
        PbIDefaultNoBase = -1;
    }
};

TEST_F(CommandLine, SwitchValueIsTheLeadingDigitRun) {
    struct Case {
        const char* line;
        const char* sw;
        bool dots;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"/Instance=15", "/Instance=", false, "15"},
        {"/instance=3b", "/Instance=", false, "3"},
        {"/Instance=  7 ", "/Instance=", false, "7"},
        {"/Instance=x", "/Instance=", false, ""},
        {"/Base=Current", "/Instance=", false, std::nullopt},
        {"/IP=192.168.1.5:8080", "/IP=", true, "192.168.1.5"},
        {"/ip=10.0.0.1 /Wait=5", "/IP=", true, "10.0.0.1"},
        {"/NoBase=2 /NoBase=3", "/NoBase=", false, "2"},
    };
    for (const auto& c : cases) EXPECT_EQ(shell::parameterValue(c.line, c.sw, c.dots), c.value) << c.line;
}

TEST_F(CommandLine, DigitRunsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(shell::parameterNumber(""), 0);
    EXPECT_EQ(shell::parameterNumber("0042"), 42);
    EXPECT_EQ(shell::parameterNumber("2147483647"), 2147483647);
    EXPECT_EQ(shell::parameterNumber("99999999999999999999"), 2147483647);
}

TEST_F(CommandLine, InstanceIsBoundedAndTheLongSwitchWins) {
    struct Case {
        const char* line;
        int16_t instance;
    };
    const Case cases[] = {
        {"/Instance=15", 10},
        {"/I=0", 1},
        {"/i=3x", 3},
        {"/Instance=", 1},
        {"/Instance=4 /I=7", 4},
        {"/I=7 /Instance=4", 4},
        {"/Base=Current", 0},
        {"/Instance=99999999999999", 10},
    };
    for (const auto& c : cases) {
        shell::AnalyseChaineCommand(c.line, 1);
        EXPECT_EQ(PbINoInstance, c.instance) << c.line;
    }
    EXPECT_TRUE(logged("Instance: 0"));
}

TEST_F(CommandLine, LogsTheLineAndEachSwitchFound) {
    shell::AnalyseChaineCommand("/ip=127.0.0.1:5000 /NoBase=", 2);
    EXPECT_TRUE(logged("Command Line: '/ip=127.0.0.1:5000 /NoBase='"));
    EXPECT_TRUE(logged("Target IP Address: 127.0.0.1"));
    EXPECT_TRUE(logged("PbIDefaultNoBase: "));
    EXPECT_EQ(PbIDefaultNoBase, 0);
    // Whoever starts the program writes the line: its breaks are shown, not written.
    shell::AnalyseChaineCommand("/Veille=True\n15:00:00:000 : : : :    :forged", 2);
    EXPECT_TRUE(logged("Command Line: '/Veille=True<LF>15:00:00:000 : : : :    :forged'"));
}

TEST_F(CommandLine, DefaultBaseMustBeABaseOfTheSite) {
    struct Case {
        const char* line;
        int16_t bases;
        int16_t expected;
        bool warned;
    };
    const Case cases[] = {
        {"/NoBase=1", 3, 1, false},
        {"/NoBase=2", 3, 2, false},
        {"/NoBase=3", 3, -1, true},
        {"/NoBase=70000", 5, -1, true},
        {"/NoBase=99999999999999999999", 5, -1, true},
    };
    for (const auto& c : cases) {
        logbuffers::earlyBuffer().clear();
        PbIDefaultNoBase = -1;
        shell::AnalyseChaineCommand(c.line, c.bases);
        EXPECT_EQ(PbIDefaultNoBase, c.expected) << c.line;
        const auto& lines = logbuffers::earlyBuffer();
        const bool warned = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("Warning: PbIDefaultNoBase: ") != std::string::npos;
        });
        EXPECT_EQ(warned, c.warned) << c.line;
    }
}

TEST_F(CommandLine, WaitPausesForTheGivenMilliseconds) {
    const uint64_t before = platform::clock::tick64();
    shell::AnalyseChaineCommand("/Wait=300", 1);
    EXPECT_GE(platform::clock::tick64() - before, 300u);
    EXPECT_TRUE(logged("WaitDuration: 300"));
}

}  // namespace
