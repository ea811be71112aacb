// Writes the fixture site as the automation's installer and tools would leave it.
#include "tests/e2e/support/E2eSite.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <QHostAddress>
#include <QUdpSocket>

#include "btrieve/Catalogue.h"
#include "btrieve/Records.h"
#include "platform/btrcall/Btrcall.h"
#include "tests/support/WindowsFiles.h"
#include "tests/tools/automation/AutomationSide.h"

namespace e2e {
namespace fs = std::filesystem;
namespace {

fs::path binFolder() {
    const char* bin = std::getenv("AL3_BIN_DIR");
    return bin ? fs::path(bin) : fs::current_path();
}

std::string two(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

uint16_t freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

std::string E2eSite::configFolder(int base) {
    const std::string folder = "C:\\Vantremo\\Aerolune\\Config\\";
    return base == 1 ? folder : folder + "Base_" + two(base) + "\\";
}

E2eSite::E2eSite(int stations, int bases) : stations_(stations) {
    for (int p = 0; p < stations * bases; ++p) ports_.push_back(freeUdpPort());

    fs::create_directories(programFolder());
    for (const char* programme : {"AL3_Relaytone", "AL3_Relaytone_Launcher"})
        fs::copy_file(binFolder() / programme, programFolder() / programme);
    // The control files the program checks for in the system folder.
    for (const char* file : {"SftMask_IX86_U_70.ocx", "clinetsuitex7.ocx"})
        support::writeWindowsFile(host("C:\\Windows\\System32\\") / file, "ocx\n");

    const std::string count = std::to_string(bases);
    std::string config = "[Site]\nNbBase=" + count + "\nDossier_Config_Global=" + configFolder(1) +
                         "\n"
                         "[Sites]\nNbBase=" +
                         count + "\n";
    for (int b = 1; b <= bases; ++b)
        config += "[Base_" + two(b) + "]\nDossier_Config_Global=" + configFolder(b) + "\n";
    support::writeWindowsFile(programFolder() / "Settings" / "AL3_Config.ini", config);

    // Each base's folder describes that base as its first one; the bases share one data folder.
    for (int b = 1; b <= bases; ++b) {
        const std::string lib = bases == 1 ? "Base e2e" : "Base e2e " + std::to_string(b);
        std::string systemDir = "[Base_01]\nLib=" + lib + "\nActif=1\nNbStation=" + std::to_string(stations) +
                                "\nDossier_Data=C:\\AL_Data\\\nDossier_Log=C:\\AudioLog\\\n"
                                "Dossier_Local=C:\\Vantremo\\Aerolune\\Settings\\_Local\\\n"
                                "Dossier_Shared=C:\\Vantremo\\Aerolune\\Shared\\\n";
        for (int s = 1; s <= stations; ++s)
            systemDir += "[Base_01_Station_" + two(s) + "]\nLib=Station " + std::to_string(s) + "\nActif=1\n";
        support::writeWindowsFile(host(configFolder(b) + "AL3_Systeme.ini"), systemDir);

        std::string rows;
        for (int s = 1; s <= stations; ++s)
            rows +=
                "[UDP_In_" + two(s) + "]\nIP=127.0.0.1\nPort=" + std::to_string(port(s, b)) + "\nActif=1\n";
        support::writeWindowsFile(host(configFolder(b) + "AL3_Relaytone.Ini"), rows);
    }

    // No sound card on a test machine; no nightly relaunch.
    support::writeWindowsFile(programFolder() / "Settings" / "AL3_Relaytone" / "AL3_Relaytone.Ini",
                              "[SoundCard]\nActive=0\n[Windows]\nLaunch=0\n");
    createDataFiles();
}

}  // namespace e2e

namespace e2e {

void E2eSite::enableNoticeMails() const {
    const fs::path config = programFolder() / "Settings" / "AL3_Config.ini";
    std::string text = support::readWindowsFile(config);
    text.insert(text.find('\n', text.find("[Site]")) + 1, "Mails_Avis=1\n");
    support::writeWindowsFile(config, text);
}

void E2eSite::createDataFiles() const {
    std::filesystem::create_directories(dataFolder());
    std::string failureText;
    const int16_t status =
        automation::createBaseFiles("C:\\AL_Data\\", stations_, automation::baseFiles(), failureText);
    if (status != 0)
        throw std::runtime_error("automation: status " + std::to_string(status) + ": " + failureText);
    // The site start-up looks for FRAD000.bt6 only to find the base; the catalogue does not lay
    // file 0 out, so one of the base's real files stands in for it.
    fs::copy_file(dataFolder() / "FRAD059.bt6", dataFolder() / "FRAD000.bt6",
                  fs::copy_options::overwrite_existing);
}

void E2eSite::addPlayerMessage(int station, const std::string& key, const std::string& nature,
                               const std::string& text) const {
    automation::MessageWriter writer;
    if (writer.open("C:\\AL_Data\\", station) != 0 || writer.insert(key, nature, text) != 0)
        throw std::runtime_error("automation: cannot write to station " + std::to_string(station));
}

bool E2eSite::playerMessagesLeft(int station) const {
    namespace bc = platform::btrcall;
    const std::string path = "C:\\AL_Data\\" + Lib_Data_BTrieve::NomFichierBTR(55, int16_t(station - 1));
    std::array<char, bc::kPosBlockSize> position{};
    std::string keyName = path;
    keyName.resize(255, '\0');
    EnregFRADx55 enreg{};
    uint32_t lengthValue = sizeof enreg;
    if (bc::BTRCALL(bc::OpOpen, position.data(), &enreg, &lengthValue, keyName.data(), 255, 0) != 0)
        throw std::runtime_error("cannot open " + path);
    std::string low(255, '\0');
    lengthValue = sizeof enreg;
    const int16_t status =
        bc::BTRCALL(bc::OpGetGreaterOrEqual, position.data(), &enreg, &lengthValue, low.data(), 255, 0);
    bc::BTRCALL(bc::OpClose, position.data(), nullptr, nullptr, low.data(), 255, 0);
    return status == 0;
}

}  // namespace e2e
