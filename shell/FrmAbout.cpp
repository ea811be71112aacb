// The about box: version and notice texts, and the system-information program from the registry.
#include "shell/FrmAbout.h"

#include <cstdio>

#include <QApplication>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/Timing.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/process/Process.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"

namespace {

const char* const kUnavailable = "Les informations système ne sont pas disponibles actuellement";

std::string mainTitle() {
    Frm_Main* mainForm = TheFrm_Main();
    return mainForm ? mainForm->Caption() : std::string();
}

int16_t shiftMask(const QKeyEvent& event) {
    const auto m = event.modifiers();
    return int16_t((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                   (m & Qt::AltModifier ? 4 : 0));
}

}  // namespace

FrmAbout::FrmAbout() : Form("FrmAbout") {
    SetCaption("A propos de Aerolune: Relaytone");
    auto* disposition = new QVBoxLayout(this);
    const auto label = [&](const std::string& textValue) {
        auto* l = new platform::forms::Label(this);
        l->SetCaption(textValue);
        l->setWordWrap(true);
        disposition->addWidget(l);
        return l;
    };
    picIcon = label("");
    picIcon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    lblTitle = label("Aerolune Relaytone");
    lblVersion = label("");
    lblNotice = label("Copyright © Vantremo 2003-");
    auto* trait = new QFrame(this);
    trait->setFrameShape(QFrame::HLine);
    disposition->addWidget(trait);
    Label1 = label("Vantremo, éditeur de la famille Aerolune.");
    lblDisclaimer = label(
        "Ce logiciel est protégé par les lois sur le droit d'auteur et les traités "
        "internationaux.");
    auto* trait2 = new QFrame(this);
    trait2->setFrameShape(QFrame::HLine);
    disposition->addWidget(trait2);
    cmdOK = new platform::forms::CommandButton(this);
    cmdOK->SetCaption("OK");
    cmdOK->Click = [this] { Unload(platform::forms::vbFormCode); };
    cmdSysInfo = new platform::forms::CommandButton(this);
    cmdSysInfo->SetCaption("&Infos système...");
    cmdSysInfo->Click = [this] { StartSysInfo(); };
    disposition->addWidget(cmdOK);
    disposition->addWidget(cmdSysInfo);
}

void FrmAbout::Form_Load() {
    Lib_Look::LookFenetre(*this);
    lblVersion->SetCaption(Lib_Systeme::VersionApplication() + " - Pro");
    lblNotice->SetCaption("Copyright © Vantremo 2003-" +
                          std::to_string(platform::fieldsOf(platform::clock::now()).year));
}

void FrmAbout::keyPressEvent(QKeyEvent* event) { Lib_Systeme::TouchesEnfoncees(shiftMask(*event)); }
void FrmAbout::keyReleaseEvent(QKeyEvent* event) { Lib_Systeme::TouchesEnfoncees(shiftMask(*event)); }

bool FrmAbout::GetKeyValue(uint32_t root, const std::string& keyName, const std::string& nameText,
                           std::string& valueText) {
    namespace reg = platform::registry;
    uint32_t type = 0, sizeValue = 0;
    std::string data;
    if (reg::queryValue(root, keyName, nameText, type, data, 1024, sizeValue) != reg::ERROR_SUCCESS) {
        valueText.clear();
        return false;
    }
    data.resize(std::min<size_t>(sizeValue, data.size()));
    if (!data.empty() && data.back() == '\0') data.pop_back();
    if (type == reg::REG_SZ) {
        valueText = platform::cp1252::toUtf8(data);
    } else if (type == reg::REG_DWORD) {
        valueText = "&h";
        for (auto octet = data.rbegin(); octet != data.rend(); ++octet) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(*octet));
            valueText += hex;
        }
    }
    return true;
}

void FrmAbout::StartSysInfo() {
    using namespace platform::dialogs;
    const uint32_t hklm = platform::registry::HKEY_LOCAL_MACHINE;
    std::string programme;
    if (!GetKeyValue(hklm, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", programme)) {
        std::string dossier;
        if (!GetKeyValue(hklm, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", dossier) ||
            !Lib_Systeme::File_Exist(dossier + "\\MSINFO32.EXE")) {
            MsgBox(kUnavailable, vbOKOnly, mainTitle());
            return;
        }
        programme = dossier + "\\MSINFO32.EXE";
    }
    if (programme.empty() || !platform::process::start({programme, {}, {}}).ok())
        MsgBox(kUnavailable, vbOKOnly, mainTitle());
}
