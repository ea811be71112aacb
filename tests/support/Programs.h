// Real programs for end-to-end tests: copies in a test's own program folder, the stub's records.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace support {

// The stub program (tests/tools/stub) and a program of the build (build/bin).
std::filesystem::path stubProgram();
std::filesystem::path builtProgram(const std::string& name);

// Copies (never links: ending by image name is scoped to the real folder) a program into folder
// under the given name, executable, and returns the copy's path.
std::filesystem::path copyProgram(const std::filesystem::path& program, const std::filesystem::path& folder,
                                  const std::string& name);

// One line of "<stub>.starts": the process id, then the arguments.
struct StubStart {
    int pid = 0;
    std::vector<std::string> arguments;
};
std::vector<StubStart> stubStarts(const std::filesystem::path& stub);

// Ends (SIGKILL) every process whose executable lies under root, so that no program a test
// started, even through another program, outlives the test.
void endProgramsUnder(const std::filesystem::path& root);

// Polls every 20 ms until condition holds or the time-out passes; returns the last answer.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace support
