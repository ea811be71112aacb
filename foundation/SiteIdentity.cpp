// The radio's identity from the site's own files: its names, identifier and name index.
#include <algorithm>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"

namespace Lib_Site {
namespace {

const std::string kCaller = "Lib_Site:InitIdentiteRadio";

std::string siteValue(const std::string& key, const std::string& defaultValue) {
    return VBA::Trim(Lib_Systeme::LectureIni(PbSDossierConfigSite, "Site", key, defaultValue));
}

void warn(const std::string& text) {
    Lib_Public::TraceLog(-1, -1, -1, "Warning: " + text + " |Sub: " + kCaller);
}

}  // namespace

void initRadioIdentity() {
    const InfoBase& base = PbTBases[0];
    for (size_t s = 0; s < PbSNomRadio.size(); ++s)
        PbSNomRadio[s] = int16_t(s) < base.NbStation ? base.Stations[s].Lib : std::string();

    const std::string id = siteValue("Id_Radio", "0");
    const int32_t idRadio = VBA::ValLong(id);
    if (idRadio < 0 || idRadio > INT16_MAX) warn("Id_Radio " + id + " outside 0 to 32767: 0 used");
    PbIIdRadio = idRadio < 0 || idRadio > INT16_MAX ? int16_t(0) : int16_t(idRadio);

    // The station whose label names the radio, from 1 as the family numbers stations.
    const std::string station = siteValue("NoStation_Radio", "1");
    const int32_t number = VBA::ValLong(station);
    const int32_t stations = std::max<int32_t>(1, base.NbStation);
    if (number < 1 || number > stations)
        warn("NoStation_Radio " + station + " is not a station of the base (1 to " +
             std::to_string(stations) + "): station 1 used");
    PbIIndexNomRadio = number < 1 || number > stations ? int16_t(0) : int16_t(number - 1);
}

}  // namespace Lib_Site
