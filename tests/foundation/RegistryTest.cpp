// Reg_GetValue / Reg_SetValue over the hive files: the status codes, the types, another process.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "foundation/Registry.h"
#include "foundation/SystemQueries.h"
#include "tests/support/TempSite.h"

namespace fs = std::filesystem;
namespace reg = platform::registry;
using Lib_Systeme::Reg_GetValue;
using Lib_Systeme::Reg_SetValue;

namespace {

const std::string kLook = "Software\\Vantremo\\Aerolune\\Look";

class Registry : public support::SiteTest {
protected:
    std::string read(uint32_t root, const std::string& path, const std::string& name, int32_t& status) {
        std::string result = "stale";
        status = Reg_GetValue(root, path, name, result);
        return result;
    }
    void putRaw(uint32_t root, const std::string& path, const std::string& name, uint32_t type,
                const std::string& data) {
        ASSERT_EQ(reg::createKey(root, path), 0);
        ASSERT_EQ(reg::setValue(root, path, name, type, data), 0);
    }
};

std::string dword(int32_t n) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &n, 4);
    return bytes;
}

}  // namespace

TEST_F(Registry, ReadsEachTypeAsText) {
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Ok", reg::REG_SZ, std::string("Ok\0", 3));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Empty", reg::REG_SZ, std::string("\0", 1));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "One", reg::REG_DWORD, dword(1));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Minus", reg::REG_DWORD, dword(-42));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Path", reg::REG_EXPAND_SZ, std::string("%WINDIR%\\x\0", 11));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Bytes", reg::REG_BINARY, "\x01\x02\x03");
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Byte", reg::REG_BINARY, "\x01");
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "", reg::REG_SZ, std::string("default\0", 8));
    putRaw(reg::HKEY_LOCAL_MACHINE, kLook, "Accent", reg::REG_SZ, std::string("\xE9t\xE9\0", 4));
    const struct {
        const char* name;
        int32_t status;
        const char* text;
    } cases[] = {
        {"Ok", 0, "Ok"},    {"ok", 0, "Ok"},      {"Empty", 0, ""},
        {"One", 0, "1"},    {"Minus", 0, "-42"},  {"Path", 0, "%WINDIR%\\x"},
        {"Bytes", 234, ""}, {"Byte", 0, ""},      {"", 0, "default"},
        {"Missing", 0, ""}, {"Accent", 0, "été"},
    };
    for (const auto& c : cases) {
        int32_t status = -1;
        EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, c.name, status), c.text) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
    }
}

TEST_F(Registry, EmptyPathIs1010AndTouchesNothing) {
    int32_t status = -1;
    EXPECT_EQ(read(reg::HKEY_CURRENT_USER, "", "x", status), "");
    EXPECT_EQ(status, 1010);
    EXPECT_EQ(Reg_SetValue(reg::HKEY_CURRENT_USER, "", "x", "1"), 1010);
    EXPECT_EQ(Reg_SetValue(reg::HKEY_CURRENT_USER, "Software\\A", "", "1"), 1010);
    EXPECT_FALSE(fs::exists(reg::hiveFile(reg::HKEY_CURRENT_USER)));
}

TEST_F(Registry, ReadOfAMissingKeyCreatesIt) {
    const std::string theme = "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
    int32_t status = -1;
    EXPECT_EQ(read(reg::HKEY_CURRENT_USER, theme, "ThemeActive", status), "");
    EXPECT_EQ(status, 0);
    uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(reg::queryValue(reg::HKEY_CURRENT_USER, theme, "ThemeActive", type, data, 0, size),
              reg::ERROR_FILE_NOT_FOUND);  // the key is there, the value is not
    EXPECT_EQ(reg::setValue(reg::HKEY_CURRENT_USER, "Software\\Microsoft", "x", 1, "a"), 0);
}

TEST_F(Registry, WritesTextValues) {
    EXPECT_EQ(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "Style", "15", 4), 0);
    EXPECT_EQ(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "StyleBis", ""), 0);
    uint32_t type = 0, size = 0;
    std::string data;
    EXPECT_EQ(reg::queryValue(reg::HKEY_LOCAL_MACHINE, kLook, "Style", type, data, 64, size), 0);
    EXPECT_EQ(type, uint32_t(reg::REG_SZ));
    EXPECT_EQ(data, std::string("15\0", 3));
    EXPECT_EQ(reg::queryValue(reg::HKEY_LOCAL_MACHINE, kLook, "StyleBis", type, data, 64, size), 0);
    EXPECT_EQ(size, 0u);
    int32_t status = -1;
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "Style", status), "15");
    EXPECT_EQ(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "Style", "Été"), 0);
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "Style", status), "Été");
}

TEST_F(Registry, UnwritableHiveGivesAccessDenied) {
    ASSERT_EQ(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "Style", "15"), 0);
    const fs::path hive = reg::hiveFile(reg::HKEY_LOCAL_MACHINE);
    fs::permissions(hive, fs::perms::owner_write, fs::perm_options::remove);
    int32_t status = -1;
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "Style", status), "15");  // the key exists
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, "Software\\New", "x", status), "");
    EXPECT_EQ(status, 5);
    EXPECT_EQ(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "Style", "20"), 5);
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "Style", status), "15");
}

TEST_F(Registry, RootZeroFollowsThePlatform) {
    PbTInfoVersionOS.platformId = 2;
    ASSERT_EQ(Reg_SetValue(0, kLook, "Where", "user"), 0);
    int32_t status = -1;
    EXPECT_EQ(read(reg::HKEY_CURRENT_USER, kLook, "Where", status), "user");
    PbTInfoVersionOS.platformId = 1;
    ASSERT_EQ(Reg_SetValue(0, kLook, "Where", "machine"), 0);
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "Where", status), "machine");
    PbTInfoVersionOS.platformId = 0;
    EXPECT_EQ(Reg_SetValue(0, kLook, "Where", "x"), reg::ERROR_INVALID_HANDLE);
}

TEST_F(Registry, AnotherProcessSeesTheValue) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(Reg_SetValue(reg::HKEY_LOCAL_MACHINE, kLook, "FromChild", "yes") == 0 ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    int32_t code = -1;
    EXPECT_EQ(read(reg::HKEY_LOCAL_MACHINE, kLook, "FromChild", code), "yes");
    EXPECT_EQ(code, 0);
}
