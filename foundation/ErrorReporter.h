// The one error path: every procedure's failure records DerniereErreur and calls the reporter.
#pragma once

#include <cstdint>
#include <string>

struct ErreurInfo {
    int32_t number = 0;
    int32_t line = 0;
    std::string description;
    std::string source;
};
inline ErreurInfo DerniereErreur;

namespace Lib_Public {

void GestionDesErreurs(const std::string& caller);

// Records the failure and reports it, as every procedure's failure path does.
void ReportError(int32_t number, const std::string& description, const std::string& caller,
                 const std::string& source = "AL3_Relaytone", int32_t line = 0);

}  // namespace Lib_Public
