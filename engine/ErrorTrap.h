// An engine handler's error trap: the failure is reported with the caller text, the run goes on.
#pragma once

#include <exception>
#include <string>

#include "foundation/DailyLogBatch.h"
#include "foundation/ErrorReporter.h"
#include "platform/VbErrors.h"

namespace engine {

// The lines a handler writes reach the day's file in one write when its outermost trap ends.
template <class Body>
void Trap(const std::string& caller, Body&& body) {
    const dailylog::EventLines lines;
    try {
        body();
    } catch (const std::exception& e) {
        Lib_Public::ReportError(platform::vb::kInvalidProcedureCall, e.what(), caller);
    }
}

}  // namespace engine
