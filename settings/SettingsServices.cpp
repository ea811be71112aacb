// The foundation's view of the settings window: the live controls of the miscellaneous page.
#include "settings/SettingsServices.h"

#include "foundation/NeighbourServices.h"
#include "settings/FrmSetupDivers.h"

namespace settings {
namespace {

class ServicesReglages : public neighbours::FrmSetupServices {
public:
    std::string TexteEmailsAdresses() override {
        return FrmSetupDivers::get().TexteEmailsAdresses->Text();
    }
    int16_t CheckEmail(int16_t index) override {
        const auto& boxes = FrmSetupDivers::get().CheckEmail;
        if (index < 0 || index >= int16_t(boxes.size())) return 0;
        return int16_t(boxes[index]->Value());
    }
    int16_t ComboNbJourPoste_ListIndex() override {
        return int16_t(FrmSetupDivers::get().ComboNbJourPoste->ListIndex());
    }
};

ServicesReglages& services() {
    static ServicesReglages window;
    return window;
}

}  // namespace

void enregistrerServices() { neighbours::registerFrmSetup(&services()); }
void retirerServices() { neighbours::registerFrmSetup(nullptr); }

}  // namespace settings
