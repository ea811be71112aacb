// The base settings file's UDP rows: one receive and one send row per station.
#include "settings/FrmSetup.h"

#include <algorithm>

#include "foundation/Site.h"
#include "settings/ErrorTrap.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/IniValues.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "FrmSetup";
constexpr int kFirstPort = 96;

// Rows that are neither loaded nor saved are hidden, so that no edit of them is lost.
int firstHiddenRow() { return std::max<int>(0, PbINbLignesUDP); }

int loadedLines(const FrmSetupPeripherique& page) {
    return std::clamp<int>(PbINbLignesUDP, 0, int(page.TexteUDPIPSource.size()));
}

}  // namespace

std::string FrmSetup::baseSettingsFile() {
    const std::string& dossier = PbSDossierConfigBase[PbINoBase];
    if (dossier.find_first_not_of(' ') == std::string::npos) return {};
    return dossier + "AL3_Relaytone.Ini";
}

void FrmSetup::InitSettingsPeripheriques() {
    using settings::readText;
    const std::string caller = kForm + ":" + "InitSettingsPeripheriques";
    settings::onError(caller, [&] {
        const std::string file = baseSettingsFile();
        auto& page = FrmSetupPeripherique::get();
        const int lineList = loadedLines(page);
        const auto& stations = PbTBases[PbINoBase].Stations;
        for (int r = 0; r < lineList; ++r) {
            const std::string section = "UDP_In_" + settings::twoDigits(r);
            page.CheckUDPInActif[r]->SetCaption(stations[r].Lib);  // as the emission rows are
            page.TexteUDPIPSource[r]->SetText(
                readText(file, section, "IP", page.TexteComputerNameAdresse[1]->Text()));
            page.TexteUDPPortSource[r]->SetText(
                readText(file, section, "Port", std::to_string(kFirstPort + r)));
            settings::setValue(*page.CheckUDPInActif[r], settings::readInteger(file, section, "Actif", "0"),
                               caller);
        }
        for (size_t r = 0; r < page.TexteUDPIPSource.size(); ++r) {
            const bool visible = int(r) < firstHiddenRow();
            page.TexteUDPIPSource[r]->SetVisible(visible);
            page.TexteUDPPortSource[r]->SetVisible(visible);
            page.CheckUDPInActif[r]->SetVisible(visible);
        }

        for (int r = 0; r < lineList; ++r) {
            const std::string section = "UDP_Out_" + settings::twoDigits(r);
            page.CheckUDPOutActif[r]->SetCaption(stations[r].Lib);
            page.TexteUDPIPCible[r]->SetText(readText(file, section, "IP", ""));
            page.TexteUDPPortCible[r]->SetText(
                readText(file, section, "Port", std::to_string(kFirstPort + r)));
            page.TexteUDPPortBCible[r]->SetText(readText(file, section, "Port2", ""));
            settings::setValue(*page.CheckUDPOutActif[r], settings::readInteger(file, section, "Actif", "0"),
                               caller);
        }
        for (size_t r = 0; r < page.TexteUDPIPCible.size(); ++r) {
            const bool visible = int(r) < firstHiddenRow();
            page.CheckUDPOutActif[r]->SetVisible(visible);
            page.TexteUDPIPCible[r]->SetVisible(visible);
            page.TexteUDPPortCible[r]->SetVisible(visible);
            page.TexteUDPPortBCible[r]->SetVisible(visible);
            page.TexteUDPDonneeEnvoyees[r]->SetVisible(visible);
            page.BtnUDPSend[r]->SetVisible(visible);
        }
    });
    OptionsPeripheriquesModifiees = false;
}

void FrmSetup::SaveSettingsPeripheriques() {
    settings::Writer writeOut(baseSettingsFile());
    settings::onError(kForm + ":" + "SaveSettingsPeripheriques", [&] {
        auto& page = FrmSetupPeripherique::get();
        const int lineList = loadedLines(page);
        for (int r = 0; r < lineList; ++r) {
            const std::string section = "UDP_In_" + settings::twoDigits(r);
            writeOut(section, "IP", page.TexteUDPIPSource[r]->Text());
            writeOut(section, "Port", page.TexteUDPPortSource[r]->Text());
            writeOut(section, "Actif", page.CheckUDPInActif[r]->Value());
        }
        for (int r = 0; r < lineList; ++r) {
            const std::string section = "UDP_Out_" + settings::twoDigits(r);
            writeOut(section, "IP", page.TexteUDPIPCible[r]->Text());
            writeOut(section, "Port", page.TexteUDPPortCible[r]->Text());
            writeOut(section, "Port2", page.TexteUDPPortBCible[r]->Text());
            writeOut(section, "Actif", page.CheckUDPOutActif[r]->Value());
        }
    });
    if (writeOut.succeeded())
        OptionsPeripheriquesModifiees = false;
    else
        reportWriteFailure(writeOut.file(), "SaveSettingsPeripheriques");
}
