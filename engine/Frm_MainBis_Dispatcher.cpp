// The station queues' dispatcher: one message per station per tick, then the memory check.
#include "engine/Frm_MainBis.h"

#include <QCoreApplication>

#include "engine/ErrorTrap.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"

namespace {

const std::string kMe = "Frm_MainBis:TimerDataArrival_Timer";
constexpr int32_t kMemoryLimitMo = 1024;

}  // namespace

void Frm_MainBis::TimerDataArrival_Timer() {
    const auto logState = [this](const std::string& step) {
        Lib_Public::TraceLog(-1, -1, -1,
                             std::string("UDP: TimerDataArrival.Enabled : ") +
                                 (TimerDataArrival.Enabled() ? "True" : "False") + " |Sub: " + kMe + ":" +
                                 step);
    };
    engine::Trap(kMe, [&] {
        if (Abandon) {
            TimerDataArrival.setEnabled(false);
            logState("A");
            return;
        }
        if (PbBDemarrageEnCours) {
            TimerDataArrival.setEnabled(false);
            logState("B");
            return;
        }
        Lib_Public::TraceLog(-1, -1, -1, "TimerDataArrival_Timer: Start");
        bool stop = false;
        for (int16_t q = 0; q < kStations; ++q) {
            engine::StationQueue& queue = ListeDataArrival[size_t(q)];
            if (queue.ListCount() > 0) {
                const std::string text = queue.List(0);
                queue.RemoveItem(0);
                Lib_Public::TraceLog(q, -1, -1, "TimerDataArrival_Timer: Chaine: " + logtext::visible(text));
                if (!VBA::Trim(text).empty()) UDPDataArrival(q + 1, text, false, stop, kMe + ":A");
            }
            QCoreApplication::processEvents();
            if (stop || Abandon) break;
        }
        TimerDataArrival.setEnabled(false);
        logState("C");
        for (const engine::StationQueue& queue : ListeDataArrival) {
            if (queue.ListCount() > 0) {
                TimerDataArrival.setEnabled(true);
                logState("D");
                break;
            }
        }
        if (!TimerDataArrival.Enabled() && PbLMemoryUsageMo > kMemoryLimitMo) {
            Lib_Public::TraceLog(-1, -1, -1,
                                 "MemoryUsage:" + std::to_string(PbLMemoryUsageMo) + " Mo |Restart needed");
            neighbours::Frm_Main().RelancerApplication(false, kMe);
        }
        Lib_Public::TraceLog(-1, -1, -1, "TimerDataArrival_Timer: End");
    });
}

void Frm_MainBis::UDPDataArrival(int16_t /*NoStation*/, const std::string& /*Chaine*/,
                                 bool /*TraitementHistorique*/, bool& /*abandon*/,
                                 const std::string& /*SubAppelant*/) {
    // The hand-off of one automation message: nothing further is done with it here.
}
