// A procedure's error trap: report the failure with the caller text and go on.
#pragma once

#include <exception>
#include <string>

#include "foundation/ErrorReporter.h"

namespace settings {

// VB's "invalid procedure call", the number a failed step of ours reports.
inline constexpr int32_t kErreurProcedure = 5;

template <class Body>
void SurErreur(const std::string& caller, Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        Lib_Public::ReportError(kErreurProcedure, e.what(), caller);
    }
}

}  // namespace settings
