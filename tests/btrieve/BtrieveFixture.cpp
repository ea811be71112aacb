// Shared set-up of the record-manager layer tests.
#include "tests/btrieve/BtrieveFixture.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>

#include "foundation/LogBuffers.h"
#include "platform/WinPath.h"

namespace btrieve_test {

void BtrieveTest::SetUp() {
    std::filesystem::create_directories(drive.root() / "AL_Data");
    PbSDossierDataBase[0] = dataFolder;
    Lib_Data_BTrieve_2::InitGeneralData();
    neighbours::registerFrm_Main(&main);
    Lib_Data_BTrieve::seams::setSleep([this](int32_t ms) { sleeps.push_back(ms); });
    Lib_Data_BTrieve::seams::setEndProcess([this] { ++processEnds; });
}

void BtrieveTest::TearDown() {
    neighbours::registerFrm_Main(nullptr);
    Lib_Data_BTrieve::seams::setEngine({});
    Lib_Data_BTrieve::seams::setSleep({});
    Lib_Data_BTrieve::seams::setEndProcess({});
}

std::vector<std::string> BtrieveTest::logLines() const {
    std::vector<std::string> lines;
    for (const auto& line : logbuffers::earlyBuffer()) lines.push_back(line);
    for (const auto& line : logbuffers::fileBuffer()) lines.push_back(line);
    return lines;
}

std::vector<std::string> BtrieveTest::linesWith(const std::string& text) const {
    std::vector<std::string> found;
    for (const auto& line : logLines())
        if (line.find(text) != std::string::npos) found.push_back(line);
    return found;
}

std::filesystem::path BtrieveTest::hostOf(const std::string& windowsPath) const {
    return platform::winpath::toHost(windowsPath);
}

// AL3_BIN_DIR when set, else the program folder beside this test's folder (build/bin).
std::string automationTool() {
    const char* bin = std::getenv("AL3_BIN_DIR");
    if (bin && *bin) return std::string(bin) + "/al3-automation";
    return (platform::winpath::programFolderHost().parent_path() / "bin" / "al3-automation").string();
}

int runTool(const std::vector<std::string>& arguments) {
    QStringList args;
    for (const auto& a : arguments) args << QString::fromStdString(a);
    QProcess tool;
    tool.start(QString::fromStdString(automationTool()), args);
    if (!tool.waitForFinished(30000)) return -1;
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

}  // namespace btrieve_test
