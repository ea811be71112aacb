// Replays the fuzzers' saved corpus through the same checks, so every build runs them.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/FuzzChecks.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpus(const char* name) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(AL3_FUZZ_CORPUS) / name))
        files.push_back(entry.path());
    return files;
}

}  // namespace

TEST(FuzzCorpus, IniReader) {
    const auto files = corpus("ini");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) EXPECT_TRUE(fuzzchecks::iniReader(support::readBytes(file))) << file;
}

TEST(FuzzCorpus, ExtraireBalise) {
    const auto files = corpus("balise");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files)
        EXPECT_TRUE(fuzzchecks::extraireBalise(support::readBytes(file))) << file;
}
