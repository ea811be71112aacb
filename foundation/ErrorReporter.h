// The one error path: every procedure's failure records DerniereErreur and calls the reporter.
#pragma once

#include <cstdint>
#include <string>

struct ErrorInfo {
    int32_t number = 0;
    int32_t line = 0;
    std::string description;
    std::string source;
};
inline ErrorInfo DerniereErreur;

namespace Lib_Public {

// Exports the global grid, logs the framed error (also into incidents list 0), mails it to the
// support and restarts on a disconnected automation object. Silent once Abandon is set.
void GestionDesErreurs(const std::string& caller);

// Records the failure and reports it, as every procedure's failure path does.
void ReportError(int32_t number, const std::string& description, const std::string& caller,
                 const std::string& source = "AL3_Relaytone", int32_t line = 0);

// The French message box of the record-manager layer.
void GestErr(int32_t code, const std::string& name, const std::string& source, bool silent,
             const std::string& caller);
void GestErr_Fra(int32_t code, const std::string& name, const std::string& source, bool silent,
                 const std::string& caller);

// -1 before a modal dialog: topmost windows step back; any other mode after it: they return.
void AfficherMessageBoxOuInputBox(int16_t mode);

// Back to the start of the process: no error recorded, no report under way.
void resetErrorReporter();

}  // namespace Lib_Public
