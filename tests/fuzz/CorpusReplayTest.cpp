// Replays the fuzzers' saved corpus through the same checks, so every build runs them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz/FuzzChecks.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpus(const char* name) {
    const char* source = std::getenv("AL3_SOURCE_DIR");  // set by CTest
    std::vector<fs::path> files;
    if (!source) return files;
    for (const auto& entry : fs::directory_iterator(fs::path(source) / "fuzz" / "corpus" / name))
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
    for (const fs::path& file : files) EXPECT_TRUE(fuzzchecks::extractTag(support::readBytes(file))) << file;
}

TEST(FuzzCorpus, WorkbookReader) {
    const auto files = corpus("workbook");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files)
        EXPECT_TRUE(fuzzchecks::workbookReader(support::readBytes(file))) << file;
}

TEST(FuzzCorpus, RegistryHive) {
    const auto files = corpus("hive");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) EXPECT_TRUE(fuzzchecks::hiveReader(support::readBytes(file))) << file;
}
