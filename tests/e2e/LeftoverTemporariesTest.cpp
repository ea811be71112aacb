// The real program removes at start-up what the whole-file writes of a run killed halfway left.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/support/E2eProgram.h"

namespace {

namespace fs = std::filesystem;

pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(LeftoverTemporaries, AKilledRunsTemporariesGoAtTheNextStartWithOneLogLine) {
    e2e::E2eSite site;
    const std::string ended = std::to_string(endedProcess());
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::minutes(30);
    struct Left {
        std::string folder;
        std::string name;
        bool removed;
    };
    const Left left[] = {
        {"C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\", ".AL3_Relaytone.Ini." + ended + ".4.tmp", true},
        {"C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\",
         ".AL3_Relaytone_Positions.Ini." + ended + ".9.tmp", true},
        {"C:\\Vantremo\\Aerolune\\Settings\\", ".AL3_Config.ini." + ended + ".1.tmp", true},
        {"C:\\Vantremo\\Aerolune\\Config\\", ".AL3_System.ini." + ended + ".2.tmp", true},
        {"C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\", ".Global.xls." + ended + ".1.tmp", true},
        {"C:\\Windows\\AL3_Registry\\", ".HKEY_CURRENT_USER.reg." + ended + ".1.tmp", true},
        // Still being written by a running process, or not of our pattern: left alone.
        {"C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\",
         ".Global.xls." + std::to_string(::getpid()) + ".1.tmp", false},
        {"C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\", "Global.xls.tmp", false},
    };
    for (const Left& l : left) {
        const fs::path path = site.host(l.folder + l.name);
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "half a file";
        fs::last_write_time(path, longAgo);
    }

    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    for (const Left& l : left) EXPECT_EQ(fs::exists(site.host(l.folder + l.name)), !l.removed) << l.name;
    const std::string line = "Warning: Temporary files of an interrupted run removed: 6 (";
    const std::string log = program.log();
    const size_t at = log.find(line);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_EQ(log.find(line, at + 1), std::string::npos);
    const std::string whole = log.substr(at, log.find('\n', at) - at);
    EXPECT_NE(whole.find("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\: 2"), std::string::npos) << whole;
    EXPECT_NE(whole.find("C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\: 1"), std::string::npos) << whole;
    EXPECT_NE(whole.find(" |Sub: Frm_Main:Form_Load"), std::string::npos) << whole;
    EXPECT_EQ(program.terminate(), 0);
}

}  // namespace
