// FrmSelectBase's event handlers: the station list of the chosen base, and the two ways out.
#include "btrieve/forms/FrmSelectBase.h"

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/ErrorReporter.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/VbErrors.h"

void FrmSelectBase::ComboBase_Click() {
    ComboStation->Clear();
    const int16_t base = BaseOfLine(ComboBase->ListIndex());
    if (base < 0) return;
    const std::string systemFile = Lib_Site::DetermineFichierSysteme(base);
    const std::string section = "Base_" + Lib_Public::N2S(base + 1, 2, 0, "0");
    const std::string label =
        Lib_Systeme::LectureIni(systemFile, section, "Lib", "Base " + std::to_string(base + 1));
    if (base < kMaxBases)
        PbTBases[size_t(base)].Lib = label;
    else
        Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange, "Subscript out of range",
                                "FrmSelectBase:ComboBase_Click");

    // The chosen base runs as base 0, from section Base_01 of its own file: the list shows
    // the stations the program will then work with.
    const int16_t count = std::min<int16_t>(
        VBA::ValInt(Lib_Systeme::LectureIni(systemFile, "Base_01", "NbStation", "1")), kMaxStations);
    for (int16_t m = 1; m <= count; ++m)
        ComboStation->AddItem(Lib_Systeme::LectureIni(systemFile,
                                                      "Base_01_Station_" + Lib_Public::N2S(m, 2, 0, "0"),
                                                      "Lib", "Station " + std::to_string(m)));
    if (ComboStation->ListCount() > 0) ComboStation->SetListIndex(0);
}

void FrmSelectBase::CommandFermer_Click(int index) {
    if (index == 0) {
        PbINoBaseSelectionnee = BaseOfLine(ComboBase->ListIndex());
        PbINoStationSelectionnee = int16_t(ComboStation->ListIndex());
    } else if (index == 1) {
        PbINoBaseSelectionnee = -1;
    }
    Unload(platform::forms::vbFormCode);
}

void FrmSelectBase::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
    if (unloadMode == platform::forms::vbFormControlMenu) PbINoBaseSelectionnee = -1;
}
