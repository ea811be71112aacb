// The hive file: survives damaged lines, keeps names as first written, matches them without case.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/Registry.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace reg = platform::registry;

class RegistryHive : public support::SiteTest {};

TEST_F(RegistryHive, DamagedLinesAreSkippedAndTheRestReads) {
    const std::string hive = reg::hiveFile(reg::HKEY_CURRENT_USER);
    std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
    std::ofstream(hive, std::ios::binary)
        << "[Software\\A]\n\"Good\"=1:6f6b00\n\"Bad\"=1:zz\n\"Odd\"=1:abc\n\"NoType\"=:00\n"
        << "\"Huge\"=99999999999999999999:00\n\"Wide\"=4294967296:00\ngarbage\n"
        << std::string("\0\0\0", 3) << "\n\"Unterminated=1:00\n[Software\\B\n\"Esc\\\"aped\"=4:01000000";
    uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(reg::queryValue(reg::HKEY_CURRENT_USER, "software\\a", "GOOD", type, data, 16, size), 0);
    EXPECT_EQ(data, std::string("ok\0", 3));
    for (const char* name : {"Bad", "Odd", "NoType", "Huge", "Wide"})
        EXPECT_EQ(reg::queryValue(reg::HKEY_CURRENT_USER, "Software\\A", name, type, data, 16, size), 2)
            << name;
    EXPECT_EQ(reg::queryValue(reg::HKEY_CURRENT_USER, "Software\\A", "Esc\"aped", type, data, 16, size), 0);
    EXPECT_EQ(type, uint32_t(reg::REG_DWORD));

    // A write rewrites the hive whole and keeps what was readable.
    ASSERT_EQ(reg::setValue(reg::HKEY_CURRENT_USER, "Software\\a", "New", 1, "x"), 0);
    EXPECT_EQ(reg::queryValue(reg::HKEY_CURRENT_USER, "Software\\A", "Good", type, data, 16, size), 0);
    EXPECT_NE(support::readBytes(hive).find("[Software\\A]\n"), std::string::npos);
}

TEST_F(RegistryHive, SmallBufferGivesMoreDataAndTheSize) {
    ASSERT_EQ(reg::createKey(reg::HKEY_LOCAL_MACHINE, "\\Software\\\\X\\"), 0);
    ASSERT_EQ(reg::setValue(reg::HKEY_LOCAL_MACHINE, "Software\\X", "V", 1, std::string("abc\0", 4)), 0);
    uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(reg::queryValue(reg::HKEY_LOCAL_MACHINE, "Software\\X", "V", type, data, 3, size), 234);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(reg::setValue(reg::HKEY_LOCAL_MACHINE, "Software\\Missing", "V", 1, "a"), 2);
    EXPECT_EQ(reg::createKey(0x1234, "Software"), 6);
}

TEST_F(RegistryHive, HiveLivesUnderTheWindowsFolderWhateverItsCase) {
    std::filesystem::create_directories(drive.root() / "WINDOWS");
    ASSERT_EQ(reg::createKey(reg::HKEY_LOCAL_MACHINE, "Software"), 0);
    EXPECT_TRUE(
        std::filesystem::exists(drive.root() / "WINDOWS" / "AL3_Registry" / "HKEY_LOCAL_MACHINE.reg"));
    EXPECT_FALSE(std::filesystem::exists(drive.root() / "Windows"));
}
