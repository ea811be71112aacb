// The foundation's, the engine's and the shell's view of the settings pages: their live controls.
#include "settings/SettingsServices.h"

#include "foundation/NeighbourServices.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"

namespace settings {
namespace {

template <class Box>
const Box* at(const std::vector<Box*>& boxes, int16_t index) {
    return index >= 0 && index < int16_t(boxes.size()) ? boxes[size_t(index)] : nullptr;
}

// A page not made yet has nothing to show; one made reads as it stands, loaded or not.
class SettingsServicesImpl : public neighbours::FrmSetupServices {
public:
    std::string TexteEmailsAdresses() override {
        const FrmSetupDivers* page = FrmSetupDivers::existing();
        return page ? page->TexteEmailsAdresses->Text() : std::string();
    }
    int16_t CheckEmail(int16_t index) override {
        const FrmSetupDivers* page = FrmSetupDivers::existing();
        const auto* box = page ? at(page->CheckEmail, index) : nullptr;
        return box ? int16_t(box->Value()) : 0;
    }
    int16_t ComboNbJourPoste_ListIndex() override {
        const FrmSetupDivers* page = FrmSetupDivers::existing();
        return page ? int16_t(page->ComboNbJourPoste->ListIndex()) : -1;
    }
    int16_t CheckLaunch() override {
        const FrmSetupDivers* page = FrmSetupDivers::existing();
        return page ? int16_t(page->CheckLaunch->Value()) : 0;
    }
    int16_t CheckMiseEnVeille() override {
        const FrmSetupDivers* page = FrmSetupDivers::existing();
        return page ? int16_t(page->CheckMiseEnVeille->Value()) : 0;
    }
    std::string TexteUDPIPSource(int16_t index) override {
        const FrmSetupPeripherique* page = FrmSetupPeripherique::existing();
        const auto* box = page ? at(page->TexteUDPIPSource, index) : nullptr;
        return box ? box->Text() : std::string();
    }
    std::string TexteUDPPortSource(int16_t index) override {
        const FrmSetupPeripherique* page = FrmSetupPeripherique::existing();
        const auto* box = page ? at(page->TexteUDPPortSource, index) : nullptr;
        return box ? box->Text() : std::string();
    }
    std::string ComboPeripheriqueOut_Text() override {
        const FrmSetupSon* page = FrmSetupSon::existing();
        return page ? page->ComboPeripheriqueOut[0]->Text() : std::string();
    }
    std::string TexteTailleBuffer() override {
        const FrmSetupSon* page = FrmSetupSon::existing();
        return page ? page->TexteTailleBuffer->Text() : std::string();
    }
};

SettingsServicesImpl& services() {
    static SettingsServicesImpl window;
    return window;
}

}  // namespace

void registerServices() { neighbours::registerFrmSetup(&services()); }
void unregisterServices() { neighbours::registerFrmSetup(nullptr); }

}  // namespace settings
