// A site on the temporary C: root: the program folder, AL3_Config.ini and the bases' files.
#pragma once

#include <string>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace sitetest {

inline const std::string kProgram = "C:\\Prog\\";
inline const std::string kConfig = "C:\\Prog\\Settings\\AL3_Config.ini";

class Site : public support::SiteTest {
protected:
    void SetUp() override {
        PbSDossierApplication = kProgram;
        PbLVersionOS = 10;
        logbuffers::earlyBuffer().clear();
    }
    void write(const std::string& windowsPath, const std::string& text) {
        support::writeWindowsFile(drive.host(windowsPath), text);
    }
    std::string bytes(const std::string& windowsPath) { return support::readBytes(drive.host(windowsPath)); }
    bool exists(const std::string& windowsPath) {
        std::error_code ec;
        return std::filesystem::exists(drive.host(windowsPath), ec);
    }
    // How many log lines hold the text.
    static int logged(const std::string& text) {
        int count = 0;
        for (const auto& line : logbuffers::earlyBuffer())
            if (line.find(text) != std::string::npos) ++count;
        return count;
    }
};

}  // namespace sitetest
