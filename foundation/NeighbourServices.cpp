// Defaults of the neighbour services and the registered windows.
#include "foundation/NeighbourServices.h"

#include "foundation/ErrorReporter.h"
#include "platform/Dialogs.h"

namespace neighbours {

std::optional<std::string> Frm_MainBisServices::CMDialog_ShowOpen(const OpenFileRequest& request) {
    return platform::dialogs::PickOpenFile({}, request.initialFolder, request.filter, request.fileName);
}

bool Frm_MainBisServices::clSmtpMail_Send(const SmtpAccount&, const MailMessage&, ErrorInfo& failure) {
    failure = {91, 0, "Mail controls not loaded", "Frm_MainBis"};
    return false;
}

int32_t Frm_MainServices::ListeIncidents_ListCount(int16_t index) {
    return index == 0 ? static_cast<int32_t>(incidents_.size()) : 0;
}

std::string Frm_MainServices::ListeIncidents_List(int16_t index, int32_t line) {
    if (index != 0 || line < 0 || line >= static_cast<int32_t>(incidents_.size())) return {};
    return incidents_[line];
}

void Frm_MainServices::ListeIncidents_Clear(int16_t index) {
    if (index == 0) incidents_.clear();
}

void Frm_MainServices::ListeIncidents_AddItem(int16_t index, const std::string& text) {
    if (index == 0) incidents_.push_back(text);
}

FrmMsgServices& Frm_MainServices::FrmMsg() { return frmMsg_; }

namespace {

template <typename Service>
struct Slot {
    Service fallback;
    Service* registered = nullptr;
    Service& current() { return registered ? *registered : fallback; }
};

Slot<FrmSetupServices>& frmSetupSlot() {
    static Slot<FrmSetupServices> slot;
    return slot;
}
Slot<Frm_MainBisServices>& frmMainBisSlot() {
    static Slot<Frm_MainBisServices> slot;
    return slot;
}
Slot<Frm_MainServices>& frmMainSlot() {
    static Slot<Frm_MainServices> slot;
    return slot;
}
Slot<FormsServices>& formsSlot() {
    static Slot<FormsServices> slot;
    return slot;
}

}  // namespace

FrmSetupServices& FrmSetup() { return frmSetupSlot().current(); }
Frm_MainBisServices& Frm_MainBis() { return frmMainBisSlot().current(); }
Frm_MainServices& Frm_Main() { return frmMainSlot().current(); }
FormsServices& Forms() { return formsSlot().current(); }
void registerFrmSetup(FrmSetupServices* window) { frmSetupSlot().registered = window; }
void registerFrm_MainBis(Frm_MainBisServices* window) { frmMainBisSlot().registered = window; }
void registerFrm_Main(Frm_MainServices* window) { frmMainSlot().registered = window; }
void registerForms(FormsServices* forms) { formsSlot().registered = forms; }

void resetNeighbourServices() {
    frmSetupSlot() = {};
    frmMainBisSlot() = {};
    frmMainSlot() = {};
    formsSlot() = {};
    PbTPipesOut = {};
    PbSDossierDataBase = {};
}

}  // namespace neighbours
