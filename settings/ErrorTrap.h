// A procedure's error trap: report the failure with the caller text and go on.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "foundation/DailyLogBatch.h"
#include "foundation/ErrorReporter.h"
#include "platform/VbErrors.h"

namespace settings {

// The lines a handler writes reach the day's file in one write when its outermost trap ends.
template <class Body>
void onError(const std::string& caller, Body&& body) {
    const dailylog::EventLines lines;
    try {
        body();
    } catch (const std::exception& e) {
        Lib_Public::ReportError(platform::vb::kInvalidProcedureCall, e.what(), caller);
    }
}

}  // namespace settings
