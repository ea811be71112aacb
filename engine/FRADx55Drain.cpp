// The walk over a station's player message file, and the five-minute drain that logs each record.
#include "engine/FRADx55Drain.h"

#include "btrieve/Catalogue.h"
#include "btrieve/ErrorReport.h"
#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "engine/EngineState.h"
#include "engine/ErrorTrap.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Cp1252.h"
#include "platform/ScopedFlag.h"
#include "platform/btrcall/Btrcall.h"

namespace FRADx55 {
namespace {

const std::string kLowKey(16, '\0');
const std::string kHighKey(16, '\xFF');

}  // namespace

std::string Texte(const EnregFRADx55& enreg) { return Lib_Data_BTrieve::MessageText(enreg); }
std::string Nature(const EnregFRADx55& enreg) {
    return platform::cp1252::toUtf8(std::string(enreg.Nature, sizeof enreg.Nature));
}

bool needsReplay(const std::string& textValue) {
    return VBA::InStr(1, textValue, "<RDS:RT>", true) == 0 && VBA::InStr(1, textValue, "<RDS:PS>", true) == 0;
}

void StationWalk(int16_t noBase, int16_t station, const std::string& caller, const bool& abandon,
                 Moment moment, const std::function<void(const EnregFRADx55&)>& action) {
    while (!abandon && !Abandon) {
        PbIBtrOp = platform::btrcall::OpGetGreaterOrEqual;
        PbSBtrKey = kLowKey;
        PbIBtrKeyNum = 0;
        PbIBtrFile = kFileFRADx55;
        Lib_Data_BTrieve::BTRieve(noBase, PbIBtrOp, PbSBtrKey, PbIBtrKeyNum, PbIBtrFile, station, caller);
        if (PbIBtrStatus == platform::btrcall::StatusEndOfFile) return;
        if (PbIBtrStatus != platform::btrcall::StatusOk) {
            // A file that is not open has been reported by the call itself.
            if (Lib_Data_BTrieve::OpenFile(noBase, kFileFRADx55, station))
                Lib_Data_BTrieve_2::ErreurBTrieve(noBase, kFileFRADx55, PbSBtrKey, caller, false, false);
            return;
        }
        if (PbSBtrKey.compare(kHighKey) > 0) return;
        const EnregFRADx55 enreg = PbTFRADx55;
        if (moment == Moment::BeforeDelete) action(enreg);
        PbIBtrOp = platform::btrcall::OpDelete;
        Lib_Data_BTrieve::BTRieve(noBase, PbIBtrOp, PbSBtrKey, PbIBtrKeyNum, PbIBtrFile, station, caller);
        if (PbIBtrStatus != platform::btrcall::StatusOk) {
            Lib_Data_BTrieve_2::ErreurBTrieve(noBase, kFileFRADx55, PbSBtrKey, "", false, false);
            // The record stays; reading on would take it again and again.
            Lib_Public::TraceLog(station - 1, -1, -1,
                                 "Err: FRADx55: Delete failed (status " + std::to_string(PbIBtrStatus) +
                                     "): walk of station " + std::to_string(station) +
                                     " ended |Sub: " + caller);
            return;
        }
        if (moment == Moment::AfterDelete) action(enreg);
    }
}

}  // namespace FRADx55

void UDPDataArrival_10_Check_FRADx55(int16_t noBase, int16_t, bool& wasFound) {
    const std::string caller = "Frm_MainBis:UDPDataArrival_10_Check_FRADx55";
    wasFound = false;
    if (!PbBFRADx55Ouvert) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: UDP: FRADx55 not open");
        return;
    }
    if (PbBCheckFRADx55EnCours) return;
    // Cleared on every way out: a drain that failed must not stop all the later ones.
    const platform::ScopedFlag walker(PbBCheckFRADx55EnCours);
    PbDCheckFRADx55 = platform::clock::now();
    const bool never = false;
    for (int16_t station = 1; station <= PbINbStations; ++station) {
        // A failure is reported under the drain's name and ends this station's walk only.
        engine::Trap(caller, [&] {
            FRADx55::StationWalk(
                noBase, station, caller, never, FRADx55::Moment::BeforeDelete,
                [&](const EnregFRADx55& enreg) {
                    wasFound = true;
                    const std::string textValue = VBA::Trim(FRADx55::Texte(enreg));
                    std::string emptyValue;
                    const std::string tag = Lib_Public::ExtraireBalise(textValue, "<CurrNature:", emptyValue);
                    Lib_Public::TraceLog(int16_t(station - 1), -1, -1,
                                         "UDP: Data FRADx55 read: " + logtext::visible(textValue) +
                                             " |Nature: " + logtext::visible(FRADx55::Nature(enreg)) +
                                             " |CurrNature: " + logtext::visible(tag));
                });
        });
    }
}
