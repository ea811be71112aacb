// Error reporter (first cut: the framed block only, until the neighbour services land).
#include "foundation/ErrorReporter.h"

#include "foundation/DailyLog.h"
#include "foundation/RunState.h"

namespace Lib_Public {

void GestionDesErreurs(const std::string& caller) {
    if (Abandon) return;
    TraceLogEncadre(-1, -1, -1,
                    "Err: " + std::to_string(DerniereErreur.number) + " (" +
                        DerniereErreur.description + ") |Sub: " + caller,
                    "=", true);
}

void ReportError(int32_t number, const std::string& description, const std::string& caller,
                 const std::string& source, int32_t line) {
    DerniereErreur = {number, line, description, source};
    GestionDesErreurs(caller);
}

}  // namespace Lib_Public
